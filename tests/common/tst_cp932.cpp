#include "TestRegistry.h"
#include "common/Cp932.h"

#include <QTest>

using namespace examora;

class TestCp932 : public QObject {
  Q_OBJECT

 private slots:
  void roundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("codePoint");
    const struct {
      const char* name;
      const char* bytes;
      uint u;
    } rows[] = {
        {"backslash stays backslash", "\x5C", 0x005C},
        {"tilde stays tilde", "\x7E", 0x007E},
        {"horizontal bar", "\x81\x5C", 0x2015},
        {"fullwidth reverse solidus", "\x81\x5F", 0xFF3C},
        {"fullwidth tilde (wave dash)", "\x81\x60", 0xFF5E},
        {"fullwidth hyphen-minus", "\x81\x7C", 0xFF0D},
        {"fullwidth not sign", "\x81\xCA", 0xFFE2},
        {"approximately equal (JIS row 2 wins)", "\x81\xE0", 0x2252},
        {"circled one (NEC row 13)", "\x87\x40", 0x2460},
        {"roman numeral one (NEC row 13)", "\x87\x54", 0x2160},
        {"IBM extension kanji", "\xFA\x5C", 0x7E8A},
        {"small roman one (IBM extension)", "\xFA\x40", 0x2170},
        {"halfwidth katakana a", "\xB1", 0xFF71},
        {"halfwidth ideographic full stop", "\xA1", 0xFF61},
        {"ideographic space", "\x81\x40", 0x3000},
        {"hiragana a", "\x82\xA0", 0x3042},
        {"kanji", "\x8E\x9A", 0x5B57},
        {"last JIS level 2 kanji", "\xEA\xA4", 0x7199},
        {"user-defined area start", "\xF0\x40", 0xE000},
        {"byte 0x80", "\x80", 0x0080},
        {"byte 0xA0", "\xA0", 0xF8F0},
        {"byte 0xFD", "\xFD", 0xF8F1},
    };
    for (const auto& r : rows) QTest::newRow(r.name) << QByteArray(r.bytes) << r.u;
  }
  void roundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(uint, codePoint);
    const QString decoded = FromCp932(bytes);
    QCOMPARE(decoded.size(), 1);
    QCOMPARE(uint(decoded.at(0).unicode()), codePoint);
    QCOMPARE(ToCp932(decoded), bytes);
    QCOMPARE(Cp932Length(decoded), bytes.size());
  }

  // Characters with more than one code encode to the code Windows picks.
  void duplicateCodesEncodeLikeWindows_data() {
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("NEC-selected small roman one -> IBM")
        << QByteArray("\xEE\xEF") << QByteArray("\xFA\x40");
    // 0xED40 decodes to U+7E8A; Windows writes that kanji back as its IBM code 0xFA5C.
    QTest::newRow("NEC-selected kanji -> IBM") << QByteArray("\xED\x40") << QByteArray("\xFA\x5C");
    QTest::newRow("NEC row 13 approx-equal -> JIS")
        << QByteArray("\x87\x90") << QByteArray("\x81\xE0");
    QTest::newRow("IBM not sign -> JIS") << QByteArray("\xFA\x54") << QByteArray("\x81\xCA");
    QTest::newRow("IBM roman one -> NEC row 13")
        << QByteArray("\xFA\x4A") << QByteArray("\x87\x54");
    QTest::newRow("IBM because -> JIS") << QByteArray("\xFA\x5B") << QByteArray("\x81\xE6");
  }
  void duplicateCodesEncodeLikeWindows() {
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, expected);
    QCOMPARE(ToCp932(FromCp932(from)), expected);
  }

  void mixedTextRoundTrips() {
    const QString text = QStringLiteral("試験ABC ｱｲｳ①ⅰ～－＼\\~\r\n");
    const QByteArray bytes = ToCp932(text);
    QCOMPARE(FromCp932(bytes), text);
    QCOMPARE(Cp932Length(text), bytes.size());
    QCOMPARE(Cp932Length(QStringLiteral("漢字A")), 5);
  }

  void invalidInputKeepsFollowingBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lead byte at the end") << QByteArray("AB\x82") << QStringLiteral("AB・");
    QTest::newRow("lead byte before a newline") << QByteArray("\x82\nA") << QStringLiteral("・\nA");
    QTest::newRow("lead byte before a comma")
        << QByteArray("\x88,\x82\xA0") << QStringLiteral("・,あ");
    QTest::newRow("undefined double-byte code") << QByteArray("\x85\x40Z") << QStringLiteral("・Z");
    QTest::newRow("lone lead at start") << QByteArray("\xE0") << QStringLiteral("・");
    QTest::newRow("empty") << QByteArray() << QString();
  }
  void invalidInputKeepsFollowingBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(FromCp932(bytes), expected);
  }

  void unmappableEncodesToQuestionMark_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("euro sign") << QStringLiteral("a€b") << QByteArray("a?b");
    QTest::newRow("emoji (surrogate pair) is one ?")
        << QStringLiteral("x\U0001F600y") << QByteArray("x?y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("korean") << QStringLiteral("한") << QByteArray("?");
    QTest::newRow("nul is kept") << QString(QChar(0)) << QByteArray(1, '\0');
  }
  void unmappableEncodesToQuestionMark() {
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(ToCp932(text), expected);
    QCOMPARE(Cp932Length(text), expected.size());
  }

  void everyDefinedCodeRoundTripsThroughItsPreferredCode() {
    // Decoding any two-byte sequence then encoding gives two bytes that decode the same.
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsCp932LeadByte(uchar(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        QByteArray in;
        in.append(char(lead)).append(char(trail));
        const QString u = FromCp932(in);
        QCOMPARE(u.size(), 1);
        if (u.at(0).unicode() == 0x30FB && in != QByteArray("\x81\x45")) continue;  // undefined
        QCOMPARE(FromCp932(ToCp932(u)), u);
      }
    }
  }

  void leftCutsAtCharacterBoundary_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ascii exact") << QStringLiteral("abcdef") << 3 << QStringLiteral("abc");
    QTest::newRow("double-byte fits") << QStringLiteral("あいう") << 4 << QStringLiteral("あい");
    QTest::newRow("never half a character")
        << QStringLiteral("あいう") << 5 << QStringLiteral("あい");
    QTest::newRow("mixed") << QStringLiteral("aあb") << 2 << QStringLiteral("a");
    QTest::newRow("shorter than limit") << QStringLiteral("ab") << 10 << QStringLiteral("ab");
    QTest::newRow("zero") << QStringLiteral("ab") << 0 << QString();
  }
  void leftCutsAtCharacterBoundary() {
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, expected);
    QCOMPARE(Cp932Left(text, maxBytes), expected);
  }
};

EXAMORA_TEST(TestCp932)
#include "tst_cp932.moc"
