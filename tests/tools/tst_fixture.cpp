#include <QTest>

#include "Fixture.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"

using examora::test::FixtureInstallation;
using namespace Qt::StringLiterals;

class TestFixtureInstallation : public QObject {
  Q_OBJECT

 private slots:
  void iniTextIsCp932WithCrLf() {
    FixtureInstallation fx;
    fx.writeIni(u"system\\system.ini"_s, u"[基本情報]\n試験名=テスト\n"_s);
    QVERIFY(fx.ok());
    QCOMPARE(fx.readBytes(u"system/system.ini"_s),
             QByteArray("[\x8A\xEE\x96\x7B\x8F\xEE\x95\xF1]\r\n"
                        "\x8E\x8E\x8C\xB1\x96\xBC=\x83\x65\x83\x58\x83\x67\r\n"));
    QCOMPARE(fx.readIni(u"system/system.ini"_s, u"基本情報"_s, u"試験名"_s), u"テスト"_s);
    QCOMPARE(fx.readIni(u"system/system.ini"_s, u"基本情報"_s, u"級名"_s), QString());
  }

  void textOutsideCp932IsAnError() {
    FixtureInstallation fx;
    fx.writeIni(u"a.ini"_s, u"[s]\nk=\u2603\n"_s);  // a snowman has no CP932 code
    QVERIFY(!fx.ok());
  }

  void knowledgePreset() {
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s, {2, 1}, 5);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    const QString setup = u"system/1/setup.ini"_s;
    QCOMPARE(fx.readIni(setup, u"選択数"_s, u"1-2"_s), u"5"_s);
    QCOMPARE(fx.readIni(setup, u"選択数"_s, u"2-1"_s), u"5"_s);
    QCOMPARE(fx.readIni(setup, u"選択数"_s, u"2-2"_s), QString());
    QVERIFY(fx.exists(u"system/1/html/q/setsumon/2-1/index.html"_s));
    QVERIFY(!fx.exists(u"system/1/html/q/setsumon/2-2"_s));
    QVERIFY(fx.exists(u"system/1/html/q/mondai/2/index.html"_s));
    QCOMPARE(fx.readIni(u"system/seito[1].ini"_s, u"1_2"_s, u"正答"_s), u"01000"_s);
    QCOMPARE(fx.readIni(u"system/system.ini"_s, u"基本情報"_s, u"部数"_s), u"1"_s);

    fx.practicalPart(u"2"_s);
    QVERIFY(fx.ok());
    QCOMPARE(fx.readIni(u"system/system.ini"_s, u"基本情報"_s, u"部数"_s), u"2"_s);
    QCOMPARE(fx.readIni(u"system/2/setup.ini"_s, u"基本情報"_s, u"試験区分"_s), u"2"_s);
    QVERIFY(fx.exists(u"実技用/material/資料.txt"_s));
  }

  void exeFolderPointsAtTheFixture() {
    FixtureInstallation fx;
    fx.setExeFolder();
    QCOMPARE(examora::ExePath(u"system\\system.ini"_s), fx.path(u"system/system.ini"_s));
  }

  void picturesByExtension() {
    FixtureInstallation fx;
    fx.writePicture(u"system/Image/MakerImage.PNG"_s, 10, 6);
    fx.writePicture(u"x.bin"_s, 10, 6, u"gif"_s);
    QVERIFY(fx.ok());
    QCOMPARE(QImage(fx.path(u"system/Image/MakerImage.PNG"_s)).size(), QSize(10, 6));
    QVERIFY(fx.readBytes(u"x.bin"_s).startsWith("GIF87a"));
    fx.writePicture(u"y.xyz"_s, 10, 6);
    QVERIFY(!fx.ok());
  }
};

EXAMORA_TEST(TestFixtureInstallation)
#include "tst_fixture.moc"
