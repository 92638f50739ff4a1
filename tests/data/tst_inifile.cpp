#include "TestRegistry.h"
#include "common/Cp932.h"
#include "data/IniFile.h"

#include <QStringEncoder>
#include <QTest>

using namespace examora;

namespace {

// Test texts are written in UTF-8 here and turned into the CP932 bytes a file would hold.
QByteArray Sj(const char* utf8) {
  return ToCp932(QString::fromUtf8(utf8));
}
QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}
// What an editor saving "UTF-8 with BOM" or "Unicode" writes.
QByteArray Utf8Bom(const char* utf8) {
  return QByteArray("\xEF\xBB\xBF") + utf8;
}
QByteArray Utf16(QStringConverter::Encoding encoding, const char* utf8) {
  QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
  return encoder(QString::fromUtf8(utf8));
}

}  // namespace

class TestIniFile : public QObject {
  Q_OBJECT

 private slots:
  void value_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const struct {
      const char* name;
      QByteArray file;
      const char* section;
      const char* key;
      const char* expected;
    } rows[] = {
        {"CR LF", Sj("[基本情報]\r\n試験名=日本語検定\r\n"), "基本情報", "試験名", "日本語検定"},
        {"LF only", Sj("[基本情報]\n試験名=日本語検定\n"), "基本情報", "試験名", "日本語検定"},
        {"no last line break", Sj("[基本情報]\r\n試験名=日本語検定"), "基本情報", "試験名",
         "日本語検定"},
        {"ASCII names fold case", Sj("[Setup]\r\nExamType=3\r\n"), "SETUP", "examtype", "3"},
        {"full-width letters fold case", Sj("[ＡＢＣ]\r\nｋｅｙ=全角\r\n"), "ａｂｃ", "ＫＥＹ",
         "全角"},
        {"widths do not fold", Sj("[ＡＢＣ]\r\nk=1\r\n"), "ABC", "k", ""},
        {"blanks around key and value", Sj("[状態]\r\n \t試験開始 \t=  値 あ \t\r\n"), "状態",
         "試験開始", "値 あ"},
        {"blanks inside the brackets", Sj("  [ 部 \t]  \r\nk=v\r\n"), "部", "k", "v"},
        {"double quotes removed", Sj("[s]\r\nk=\"  引用 '  \"\r\n"), "s", "k", "  引用 '  "},
        {"single quotes removed", Sj("[s]\r\nk= '値' \r\n"), "s", "k", "値"},
        {"mismatched quotes kept", Sj("[s]\r\nk=\"abc'\r\n"), "s", "k", "\"abc'"},
        {"lone quote kept", Sj("[s]\r\nk=\"\r\n"), "s", "k", "\""},
        {"first section wins", Sj("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n"), "s", "k", "1"},
        {"later duplicate section unseen", Sj("[s]\r\nk=1\r\n[S]\r\nj=3\r\n"), "s", "j", ""},
        {"first key wins", Sj("[s]\r\n鍵=1\r\n 鍵 =2\r\n"), "s", "鍵", "1"},
        {"comment line is no key", Sj("[s]\r\n;k=1\r\nk=2\r\n"), "s", "k", "2"},
        {"commented key only", Sj("[s]\r\n ; k=1\r\n"), "s", "; k", ""},
        {"line without equals is no key", Sj("[s]\r\nk\r\nk=2\r\n"), "s", "k", "2"},
        {"key before the first section", Sj("k=1\r\n[s]\r\n"), "s", "k", ""},
        {"equals inside the value", Sj("[s]\r\nk=a=b\r\n"), "s", "k", "a=b"},
        {"empty value", Sj("[s]\r\nk=\r\n"), "s", "k", ""},
        {"missing section", Sj("[s]\r\nk=1\r\n"), "t", "k", ""},
        {"missing key", Sj("[s]\r\nk=1\r\n"), "s", "j", ""},
        {"empty file", QByteArray(), "s", "k", ""},
        {"trail byte ] inside section name", Sj("[ゾーン]\r\nゼロ=0\r\n"), "ゾーン", "ゼロ", "0"},
        {"trail byte \\ at end of value", Sj("[表示]\r\n表=ソ\r\n"), "表示", "表", "ソ"},
        {"text after the closing bracket", Sj("[s] ;注\r\nk=v\r\n"), "s", "k", "v"},
        {"UTF-8 mark: first section read", Utf8Bom("[基本情報]\r\n試験名=検定\r\n"), "基本情報",
         "試験名", "検定"},
        {"UTF-16LE mark", Utf16(QStringConverter::Utf16LE, "[基本情報]\r\n試験名=検定\r\n"),
         "基本情報", "試験名", "検定"},
        {"UTF-16BE mark", Utf16(QStringConverter::Utf16BE, "[s]\nk=①\n[t]\nk=w"), "t", "k", "w"},
        {"UTF-8 mark: character outside CP932", Utf8Bom("[s]\r\nk=한\r\n"), "s", "k", "한"},
        {"mark in the middle is no mark", Sj("[s]\r\n") + "\xEF\xBB\xBF" + Sj("k=v\r\n"), "s", "k",
         ""},
    };
    for (const auto& r : rows)
      QTest::newRow(r.name) << r.file << U(r.section) << U(r.key) << U(r.expected);
  }
  void value() {
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(IniFile::Parse(file).Value(section, key), expected);
  }

  void enumeratesInFileOrder() {
    const IniFile ini = IniFile::Parse(
        Sj("k=0\r\n[受験者情報]\r\n氏名=山田\n;メモ=x\r\n説明\r\n連携=3\r\n会場=A\r\n"
           "[基本情報]\r\n部数=2\r\n[受験者情報]\r\n後=1"));
    QCOMPARE(ini.Sections(), QStringList({U("受験者情報"), U("基本情報"), U("受験者情報")}));
    QCOMPARE(ini.Keys(U("受験者情報")), QStringList({U("氏名"), U("連携"), U("会場")}));
    QCOMPARE(ini.Keys(U("無い")), QStringList());
    QVERIFY(ini.HasSection(U("基本情報")));
    QVERIFY(!ini.HasSection(U("メモ")));
    QVERIFY(!ini.HasKey(U("受験者情報"), U("後")));
  }

  void presentEmptyKeyDiffersFromMissingOnlyInHasKey() {
    const IniFile ini = IniFile::Parse(Sj("[s]\r\n空=\r\n"));
    QVERIFY(ini.HasKey(U("s"), U("空")));
    QVERIFY(!ini.HasKey(U("s"), U("無")));
    QCOMPARE(ini.Value(U("s"), U("空")), QString());
  }

  void withValue_data() {
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("expected");
    const struct {
      const char* name;
      QByteArray original;
      const char* section;
      const char* key;
      const char* value;
      QByteArray expected;
    } rows[] = {
        {"replaced in place, other lines kept byte for byte",
         Sj("; 先頭\r\n[状態]\r\nx = 1\r\n 試験開始 = 0 \ny=2\n\n[他]\r\n試験開始=9\r\n"), "状態",
         "試験開始", "1",
         Sj("; 先頭\r\n[状態]\r\nx = 1\r\n試験開始=1\r\ny=2\n\n[他]\r\n試験開始=9\r\n")},
        {"first of duplicate keys replaced", Sj("[s]\r\nk=1\r\nk=2\r\n"), "s", "K", "3",
         Sj("[s]\r\nK=3\r\nk=2\r\n")},
        {"key of the first duplicate section replaced", Sj("[s]\r\nx=1\r\n[s]\r\nk=old\r\n"), "s",
         "k", "new", Sj("[s]\r\nx=1\r\nk=new\r\n[s]\r\nk=old\r\n")},
        {"last line without break replaced", Sj("[s]\r\nk=1"), "s", "k", "2", Sj("[s]\r\nk=2\r\n")},
        {"missing key after the section's last line", Sj("[s]\r\nx=1\r\n\r\n[t]\r\ny=2\r\n"), "s",
         "k", "v", Sj("[s]\r\nx=1\r\nk=v\r\n\r\n[t]\r\ny=2\r\n")},
        {"missing key after a last line without break", Sj("[s]\nx=1"), "s", "k", "v",
         Sj("[s]\nx=1\r\nk=v\r\n")},
        {"missing key in a header-only section", Sj("[s]"), "S", "k", "v", Sj("[s]\r\nk=v\r\n")},
        {"commented key is not replaced", Sj("[s]\r\n;k=1\r\n"), "s", "k", "v",
         Sj("[s]\r\n;k=1\r\nk=v\r\n")},
        {"key before the first section untouched", Sj("k=0\r\n[s]\r\n"), "s", "k", "v",
         Sj("k=0\r\n[s]\r\nk=v\r\n")},
        {"missing section at the end", Sj("[s]\r\nx=1\r\n"), "t", "k", "v",
         Sj("[s]\r\nx=1\r\n[t]\r\nk=v\r\n")},
        {"missing section after a last line without break", Sj("[s]\r\nx=1"), "t", "k", "v",
         Sj("[s]\r\nx=1\r\n[t]\r\nk=v\r\n")},
        {"empty file", QByteArray(), "t", "k", "v", Sj("[t]\r\nk=v\r\n")},
        {"CP932 names and value", Sj("[受験者情報]\r\n氏名=山田\r\n"), "受験者情報", "試験日",
         "２０２４／０１／０１",
         Sj("[受験者情報]\r\n氏名=山田\r\n試験日=２０２４／０１／０１\r\n")},
        {"full-width section name folds", Sj("[ＳＥＴＵＰ]\r\n"), "ｓｅｔｕｐ", "ｋ", "1",
         Sj("[ＳＥＴＵＰ]\r\nｋ=1\r\n")},
        {"trail bytes [ and ] in names", Sj("[ゾーン]\r\nゼロ=0\r\n"), "ゾーン", "ゼロ", "表",
         Sj("[ゾーン]\r\nゼロ=表\r\n")},
        {"UTF-8 mark kept, value replaced in UTF-8", Utf8Bom("[状態]\r\n試験開始=0\r\n"), "状態",
         "試験開始", "１", Utf8Bom("[状態]\r\n試験開始=１\r\n")},
        {"UTF-8 mark kept, section added in UTF-8", Utf8Bom("[s]\r\nk=한"), "状態", "鍵", "値",
         Utf8Bom("[s]\r\nk=한\r\n[状態]\r\n鍵=値\r\n")},
        {"UTF-16LE kept", Utf16(QStringConverter::Utf16LE, "[s]\r\nx=1\r\n\r\n[t]\r\n"), "s", "鍵",
         "値", Utf16(QStringConverter::Utf16LE, "[s]\r\nx=1\r\n鍵=値\r\n\r\n[t]\r\n")},
        {"UTF-16BE kept", Utf16(QStringConverter::Utf16BE, "[s]\nk=1\n"), "s", "k", "２",
         Utf16(QStringConverter::Utf16BE, "[s]\nk=２\r\n")},
    };
    for (const auto& r : rows) {
      QTest::newRow(r.name) << r.original << U(r.section) << U(r.key) << U(r.value) << r.expected;
    }
  }
  void withValue() {
    QFETCH(QByteArray, original);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);
    const QByteArray written = IniFile::WithValue(original, section, key, value);
    QCOMPARE(written, expected);
    QCOMPARE(IniFile::Parse(written).Value(section, key), value);
  }
};

EXAMORA_TEST(TestIniFile)
#include "tst_inifile.moc"
