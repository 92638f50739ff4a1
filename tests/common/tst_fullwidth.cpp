#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/FullWidth.h"

#include <QTest>

using namespace examora;

class TestFullWidth : public QObject {
  Q_OBJECT

 private slots:
  void convertsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const struct {
      const char* name;
      const char16_t* text;
      const char16_t* expected;
    } rows[] = {
        {"empty", u"", u""},
        {"digits", u"12", u"１２"},
        {"page counter", u"(3/10)", u"（３／１０）"},
        {"letters", u"aZz09", u"ａＺｚ０９"},
        {"voiced ka row", u"ｶﾞｷﾞ", u"ガギ"},
        {"semi-voiced ha row", u"ﾊﾟﾋﾟ", u"パピ"},
        {"every voiced kana", u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ",
         u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ"},
        {"every semi-voiced kana", u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", u"パピプペポ"},
        {"u does not join", u"ｳﾞ", u"ウ゛"},
        {"na row keeps semi-voiced mark", u"ﾅﾟ", u"ナ゜"},
        {"ka row has no semi-voiced form", u"ｶﾟ", u"カ゜"},
        {"ta row has no semi-voiced form", u"ﾂﾟ", u"ツ゜"},
        {"voiced mark alone", u"ﾞ", u"ﾞ"},
        {"semi-voiced mark alone", u"ﾟ", u"ﾟ"},
        {"mark before kana", u"ﾞｶ", u"ﾞカ"},
        {"mark after a joined pair", u"ｶﾞﾞ", u"ガﾞ"},
        {"joining kana at the end", u"ｶ", u"カ"},
        {"double-byte passes", u"漢字A", u"漢字Ａ"},
        {"yen sign", u"\\", u"￥"},
        {"overline", u"~", u"￣"},
        {"long vowel mark is punctuation", u"ｰ", u"ー"},
        {"control characters pass", u"\t\r\n", u"\t\r\n"},
        {"whole katakana table", u"ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ",
         u"ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメ"
         u"モヤユヨラリルレロワン"},
    };
    for (const auto& r : rows)
      QTest::newRow(r.name) << QString::fromUtf16(r.text) << QString::fromUtf16(r.expected);
  }
  void convertsText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ToFullWidth(text), expected);
  }

  void convertsPunctuation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString half = QStringLiteral(" !\"#$%&'()=`|-^\\~{@[+*}:;]<>?_､｡･,./ｰ｢｣");
    const QString full = QStringLiteral(
        "　！”＃＄％＆’（）＝‘｜－＾￥￣｛＠［＋＊｝：；］＜＞？＿、。・，．／ー「」");
    QCOMPARE(half.size(), 39);
    QCOMPARE(full.size(), 39);
    for (qsizetype i = 0; i < half.size(); ++i) {
      QTest::newRow(
          qPrintable(QStringLiteral("U+%1").arg(uint(half.at(i).unicode()), 4, 16, QChar(u'0'))))
          << QString(half.at(i)) << QString(full.at(i));
    }
  }
  void convertsPunctuation() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ToFullWidth(text), expected);
  }

  // Byte-level cases a QString cannot express, and trail bytes that look like ASCII or kana.
  void passesBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("lead byte at the very end") << QByteArray("A\x82") << QByteArray("\x82\x60\x82");
    QTest::newRow("lone lead byte") << QByteArray("\xE0") << QByteArray("\xE0");
    QTest::newRow("trail byte A") << QByteArray("\x83\x41") << QByteArray("\x83\x41");
    QTest::newRow("trail byte backslash") << QByteArray("\x95\x5C") << QByteArray("\x95\x5C");
    QTest::newRow("trail byte in kana range") << QByteArray("\x82\xB6") << QByteArray("\x82\xB6");
    QTest::newRow("voiced mark alone") << QByteArray("\xDE") << QByteArray("\xDE");
    QTest::newRow("unused single bytes")
        << QByteArray("\x80\xA0\xFD\xFE\xFF") << QByteArray("\x80\xA0\xFD\xFE\xFF");
    QTest::newRow("nul byte") << QByteArray(
                                     "1\0"
                                     "2",
                                     3)
                              << QByteArray("\x82\x50\0\x82\x51", 5);
  }
  void passesBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(ToFullWidth(bytes), expected);
  }

  void jisToShiftJis_data() {
    QTest::addColumn<uint>("jis");
    QTest::addColumn<QByteArray>("sjis");
    QTest::newRow("odd row, low cell (ideographic space)") << 0x2121u << QByteArray("\x81\x40");
    QTest::newRow("odd row, cell 5F skips 7F") << 0x215Fu << QByteArray("\x81\x7E");
    QTest::newRow("odd row, cell 60") << 0x2160u << QByteArray("\x81\x80");
    QTest::newRow("odd row, last cell") << 0x237Eu << QByteArray("\x82\x9E");
    QTest::newRow("even row, first cell") << 0x2421u << QByteArray("\x82\x9F");
    QTest::newRow("even row, last cell") << 0x247Eu << QByteArray("\x82\xFC");
    QTest::newRow("row 5E, last below the gap") << 0x5E7Eu << QByteArray("\x9F\xFC");
    QTest::newRow("row 5F, first above the gap") << 0x5F21u << QByteArray("\xE0\x40");
    QTest::newRow("last kanji") << 0x7426u << QByteArray("\xEA\xA4");
  }
  void jisToShiftJis() {
    QFETCH(uint, jis);
    QFETCH(QByteArray, sjis);
    const auto bytes = JisToShiftJis(quint16(jis));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()), 2), sjis);
  }
};

EXAMORA_TEST(TestFullWidth)
#include "tst_fullwidth.moc"
