#include <QTest>

#include "TestRegistry.h"
#include "flow/model/StartScreenRules.h"

using namespace examora;

class TestStartScreenRules : public QObject {
  Q_OBJECT

 private slots:
  void startMode_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("extensionEnded");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QString>("mode");
    QTest::newRow("knowledge") << "1" << false << false << "1";
    QTest::newRow("knowledge with practice") << "1" << false << true << "4";
    QTest::newRow("knowledge extended") << "1" << true << true << "1";
    QTest::newRow("practical") << "2" << false << false << "3";
    QTest::newRow("practical with practice") << "2" << false << true << "2";
    QTest::newRow("practical extended") << "2" << true << true << "3";
    QTest::newRow("other category") << "5" << false << true << "";
    QTest::newRow("empty category") << "" << false << false << "";
  }
  void startMode() {
    QFETCH(QString, category);
    QFETCH(bool, extensionEnded);
    QFETCH(bool, marker);
    QFETCH(QString, mode);
    QCOMPARE(StartModeFor(category, extensionEnded, marker), mode);
  }

  void endButton_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("extensionEnded");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QString>("examType");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::newRow("knowledge with practice") << "1" << false << true << "1"
                                             << "次へ >" << 80;
    QTest::newRow("practical with practice") << "2" << false << true << "1"
                                             << "実技操作練習 >" << 113;
    QTest::newRow("web practical with practice") << "2" << false << true << "3"
                                                 << "次へ >" << 80;
    QTest::newRow("practical, no marker") << "2" << false << false << "2"
                                          << "次へ >" << 80;
    QTest::newRow("practical extended") << "2" << true << true << "2"
                                        << "次へ >" << 80;
    QTest::newRow("other category keeps design") << "9" << false << false << "1"
                                                 << "実技操作練習 >" << 113;
  }
  void endButton() {
    QFETCH(QString, category);
    QFETCH(bool, extensionEnded);
    QFETCH(bool, marker);
    QFETCH(QString, examType);
    QFETCH(QString, caption);
    QFETCH(int, width);
    const EndButtonLook look = EndButtonFor(category, extensionEnded, marker, examType);
    QCOMPARE(look.caption, caption);
    QCOMPARE(look.width, width);
    QCOMPARE(EndButtonLeft(865, look.width), 865 - width - 28);
    QVERIFY(EndButtonGoesOn(look.caption));
  }

  void endButtonOnlyClosesOtherwise() {
    QVERIFY(EndButtonGoesOn(QStringLiteral("知識操作練習 >")));
    QVERIFY(!EndButtonGoesOn(QStringLiteral("閉じる")));
    QVERIFY(!EndButtonGoesOn(QStringLiteral("次へ")));
  }

  void explanationGeometry_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("bands");
    QTest::addColumn<QRect>("window");
    QTest::newRow("wizard 1200x600")
        << QSize(1200, 600) << QSize(1280, 1024) << 204 << QRect(40, 110, 1200, 804);
    QTest::newRow("exam window, no step band")
        << QSize(1200, 600) << QSize(1280, 1024) << 110 << QRect(40, 157, 1200, 710);
    // (1280 - 1201) / 2 = 39.5 goes to 40; (1024 - 805) / 2 = 109.5 goes to 110.
    QTest::newRow("halves to even, up")
        << QSize(1201, 601) << QSize(1280, 1024) << 204 << QRect(40, 110, 1201, 805);
    // (1280 - 1203) / 2 = 38.5 goes to 38.
    QTest::newRow("halves to even, down")
        << QSize(1203, 600) << QSize(1280, 1024) << 204 << QRect(38, 110, 1203, 804);
    QTest::newRow("picture larger than the screen")
        << QSize(1400, 900) << QSize(1280, 1024) << 204 << QRect(-60, -40, 1400, 1104);
    QTest::newRow("bottom-up height")
        << QSize(1200, -600) << QSize(1280, 1024) << 204 << QRect(40, 110, 1200, 804);
  }
  void explanationGeometry() {
    QFETCH(QSize, picture);
    QFETCH(QSize, screen);
    QFETCH(int, bands);
    QFETCH(QRect, window);
    QCOMPARE(ExplanationWindowGeometry(picture, screen, bands), window);
  }

  void questionWording_data() {
    QTest::addColumn<QString>("parts");  // "category/type" per part, comma-separated
    QTest::addColumn<bool>("wording");
    QTest::newRow("none") << "" << false;
    QTest::newRow("knowledge + compact practical") << "1/1,2/2" << true;
    QTest::newRow("web practical") << "2/3" << true;
    QTest::newRow("practical with question display") << "1/1,2/1" << false;
    QTest::newRow("knowledge of type 3") << "1/3" << false;
    QTest::newRow("unread part") << "/,2/2" << true;
  }
  void questionWording() {
    QFETCH(QString, parts);
    QFETCH(bool, wording);
    QList<PartKind> kinds;
    for (const QString& p : parts.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const QStringList f = p.split(QLatin1Char('/'));
      kinds.append({f.at(0), f.at(1)});
    }
    QCOMPARE(QuestionWordingFrom(kinds), wording);
  }

  void coverPicture_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("web");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("givenLeft");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("top");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("partLeft");
    const int maker = int(CoverPicture::Maker);
    const int exam = int(CoverPicture::Exam);
    const int grade = int(CoverPicture::Grade);
    // Width limits: half size; (644 - 219) / 2 = 212.5 goes to 212.
    QTest::newRow("maker 438x17 centred")
        << maker << false << QSize(438, 17) << 644 << 0 << 212 << 200 << 219.0 << 8.5 << -1;
    QTest::newRow("maker at the name's left")
        << maker << false << QSize(438, 17) << 644 << 150 << 150 << 200 << 219.0 << 8.5 << -1;
    // Height limits: 20 / 40.
    QTest::newRow("exam height-limited")
        << exam << false << QSize(400, 40) << 644 << 0 << 222 << 220 << 200.0 << 20.0 << -1;
    QTest::newRow("exam web layout")
        << exam << true << QSize(878, 40) << 704 << 0 << 132 << 270 << 439.0 << 20.0 << -1;
    // round((644 - 100 - 12 - 116) / 2) = 208; part pictures at 208 + 100 + 12.
    QTest::newRow("grade with the part picture")
        << grade << false << QSize(200, 30) << 644 << 0 << 208 << 264 << 100.0 << 15.0 << 320;
    // W = 50 * 30 / 60 = 25: round((644 - 25 - 128) / 2) = round(245.5) = 246.
    QTest::newRow("grade height-limited")
        << grade << false << QSize(50, 60) << 644 << 0 << 246 << 264 << 25.0 << 30.0 << 283;
  }
  void coverPicture() {
    QFETCH(int, kind);
    QFETCH(bool, web);
    QFETCH(QSize, picture);
    QFETCH(int, windowWidth);
    QFETCH(int, givenLeft);
    QFETCH(int, x);
    QFETCH(int, top);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, partLeft);
    const CoverPlacement at =
        PlaceCoverPicture(CoverPicture(kind), web, picture, windowWidth, givenLeft);
    QVERIFY(at.drawn);
    QCOMPARE(at.x, x);
    QCOMPARE(at.top, top);
    QCOMPARE(at.width, width);
    QCOMPARE(at.height, height);
    QCOMPARE(at.partLeft, partLeft);
  }

  void gradePictureHasNoPlaceInTheWebLayout() {
    QVERIFY(!PlaceCoverPicture(CoverPicture::Grade, true, {100, 30}, 704).drawn);
  }

  void startLayout_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("wording");
    QTest::addColumn<bool>("web");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("partTop");
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QPoint>("text1At");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QPoint>("text2At");
    const QString knowExam = QStringLiteral(
        "試験監督者の指示に従って [知識試験開始] ボタンをクリックし、試験を開始してください。");
    const QString knowQuestion = QStringLiteral(
        "試験監督者の指示に従って [知識問題開始] ボタンをクリックし、試験を開始してください。");
    const QString pracExam = QStringLiteral(
        "試験監督者の指示に従って［実技試験開始］ボタンをクリックし、試験を開始してください。");
    const QString pracQuestion = QStringLiteral(
        "試験監督者の指示に従って［実技問題開始］ボタンをクリックし、試験を開始してください。");
    const QString browser =
        QStringLiteral("Webブラウザーの起動、各ウィンドウのサイズや位置の調整、");
    const QString confirm = QStringLiteral("および、操作の確認を行います。");
    const QPoint keepTop1(78, -1);

    QTest::newRow("1 exam wording")
        << "1" << false << false << "知識試験開始 >"
        << "TishikiImg" << 264 << "" << knowExam << keepTop1 << "" << QPoint(-1, -1);
    QTest::newRow("1 question wording")
        << "1" << true << false << "知識問題開始 >"
        << "TishikiMImg" << 264 << "" << knowQuestion << keepTop1 << "" << QPoint(-1, -1);
    QTest::newRow("1 web") << "1" << false << true << "知識問題開始 >"
                           << "TishikiMImg" << 332 << ""
                           << QStringLiteral(
                                  "試験監督者の指示に従って [知識問題開始] "
                                  "ボタンをクリックし、知識問題を開始してください。")
                           << QPoint(95, 440) << "" << QPoint(-1, -1);
    QTest::newRow("4 exam wording") << "4" << false << false << "操作練習開始 >"
                                    << "TishikiImg" << 264 << "ZitsugiRenImg" << browser
                                    << QPoint(186, -1) << confirm << QPoint(260, -1);
    QTest::newRow("4 web") << "4" << true << true << "操作練習開始 >"
                           << "TishikiMHImg" << 332 << "ZitsugiRenHImg" << browser
                           << QPoint(186, 440) << confirm << QPoint(260, 460);
    QTest::newRow("2 question wording")
        << "2" << true << false << "操作練習開始 >"
        << "ZitsugiMIMg" << 264 << "ZitsugiRenImg"
        << QStringLiteral("操作の確認と、問題表示ウィンドウのレイアウトを設定します。")
        << QPoint(151, -1) << "" << QPoint(-1, -1);
    QTest::newRow("2 web")
        << "2" << false << true << "操作練習開始 >"
        << "ZitsugiMHImg" << 332 << "ZitsugiRenHImg"
        << QStringLiteral(
               "Webブラウザーの起動、テキストエディターまたはWeb"
               "ページ作成ソフトの起動、")
        << QPoint(131, 440)
        << QStringLiteral("各ウィンドウのサイズや位置の調整、および、操作の確認を行います。")
        << QPoint(162, 460);
    QTest::newRow("3 exam wording")
        << "3" << false << false << "実技試験開始 >"
        << "ZitsugiImg" << 264 << "" << pracExam << keepTop1 << "" << QPoint(-1, -1);
    QTest::newRow("3 question wording")
        << "3" << true << false << "実技問題開始 >"
        << "ZitsugiMIMg" << 264 << "" << pracQuestion << keepTop1 << "" << QPoint(-1, -1);
    QTest::newRow("3 web") << "3" << false << true << "実技問題開始 >"
                           << "ZitsugiMIMg" << 332 << ""
                           << QStringLiteral(
                                  "試験監督者の指示に従って［実技問題開始］"
                                  "ボタンをクリックし、実技問題を開始してください。")
                           << QPoint(88, 440) << "" << QPoint(-1, -1);
  }
  void startLayout() {
    QFETCH(QString, mode);
    QFETCH(bool, wording);
    QFETCH(bool, web);
    QFETCH(QString, caption);
    QFETCH(QString, part);
    QFETCH(int, partTop);
    QFETCH(QString, practice);
    QFETCH(QString, text1);
    QFETCH(QPoint, text1At);
    QFETCH(QString, text2);
    QFETCH(QPoint, text2At);
    // The web practice picture is 30 px high: its bottom at 400, the texts 40 and 60 below.
    const StartScreenLayout l = StartScreenLayoutFor(mode, wording, web, 30);
    QVERIFY(l.known);
    QCOMPARE(l.startCaption, caption);
    QCOMPARE(l.partPicture, part);
    QCOMPARE(l.partTop, partTop);
    QCOMPARE(l.practicePicture, practice);
    if (!practice.isEmpty()) QCOMPARE(l.practiceTop, web ? 370 : 300);
    QCOMPARE(l.text1, text1);
    QCOMPARE(QPoint(l.text1Left, l.text1Top), text1At);
    QCOMPARE(l.text2, text2);
    QCOMPARE(QPoint(l.text2Left, l.text2Top), text2At);
  }

  void unknownStartModeKeepsTheDesign() {
    for (const char* mode : {"", "5", "12"}) {
      QVERIFY(!StartScreenLayoutFor(QLatin1String(mode), true, false, 30).known);
    }
  }

  void webBadge_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("badge");
    QTest::newRow("practical part 1") << "2"
                                      << "1"
                                      << "Html5StTopImg";
    QTest::newRow("practical part 2") << "2"
                                      << "2"
                                      << "Html5ExTopImg";
    QTest::newRow("knowledge part 1") << "1"
                                      << "1"
                                      << "Html5ExTopImg";
  }
  void webBadge() {
    QFETCH(QString, category);
    QFETCH(QString, part);
    QFETCH(QString, badge);
    QCOMPARE(WebBadgeFor(category, part), badge);
  }

  void gradeName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("rest");
    QTest::newRow("full-width") << "２級"
                                << "２"
                                << "級";
    QTest::newRow("half-width") << "3級"
                                << "3"
                                << "級";
    QTest::newRow("one character") << "準"
                                   << "準"
                                   << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("outside the basic plane")
        << QString::fromUtf8("\xF0\xA0\x80\x8B級") << QString::fromUtf8("\xF0\xA0\x80\x8B") << "級";
  }
  void gradeName() {
    QFETCH(QString, name);
    QFETCH(QString, first);
    QFETCH(QString, rest);
    const GradeLabels labels = SplitGradeName(name);
    QCOMPARE(labels.first, first);
    QCOMPARE(labels.rest, rest);
  }

  void extensionCheck_data() {
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    QTest::newRow("below") << 10 << 50 << "";
    QTest::newRow("equal to all") << 50 << 50 << "";
    QTest::newRow("all + 1") << 51 << 50 << "E1150分以上は設定できません。";
    QTest::newRow("zero removes") << 0 << 50 << "";
    QTest::newRow("all missing refuses any") << 1 << 0 << "E110分以上は設定できません。";
    QTest::newRow("all missing, zero") << 0 << 0 << "";
  }
  void extensionCheck() {
    QFETCH(int, minutes);
    QFETCH(int, limit);
    QFETCH(QString, message);
    const ExtensionCheck check = CheckExtension(minutes, limit);
    QCOMPARE(check.ok, message.isEmpty());
    QCOMPARE(check.message, message);
  }
};

EXAMORA_TEST(TestStartScreenRules)
#include "tst_startscreenrules.moc"
