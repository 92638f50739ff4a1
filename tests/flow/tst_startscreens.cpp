#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "flow/QZQZ0030.h"
#include "flow/QZTP0060.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;

namespace {

ModalMatch Named(const QString& objectName) {
  return [objectName](QWidget* w) { return w->objectName() == objectName; };
}

QString LogText(const FixtureInstallation& fixture) {
  return FromCp932(fixture.readBytes(QStringLiteral("system/1/log.txt")));
}

}  // namespace

class TestStartScreens : public QObject {
  Q_OBJECT

 private slots:
  // ---- Operation explanation -------------------------------------------------------------

  void explanationChainsToStart_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<QString>("marker");  // "dir", "file" or ""
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("startMode");
    QTest::newRow("practice offered") << "1"
                                      << "dir"
                                      << "実技操作練習 >"
                                      << "2";
    QTest::newRow("web type names it later") << "3"
                                             << "dir"
                                             << "次へ >"
                                             << "2";
    QTest::newRow("a file is no marker") << "1"
                                         << "file"
                                         << "次へ >"
                                         << "3";
    QTest::newRow("no marker") << "2"
                               << ""
                               << "次へ >"
                               << "3";
  }
  void explanationChainsToStart() {
    QFETCH(QString, examType);
    QFETCH(QString, marker);
    QFETCH(QString, caption);
    QFETCH(QString, startMode);
    FixtureInstallation fixture;
    fixture.practicalPart(QStringLiteral("1"), examType);
    if (marker == u"dir") fixture.makeDir(QStringLiteral("system/Z1"));
    if (marker == u"file") fixture.writeText(QStringLiteral("system/Z1"), QStringLiteral("x\n"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();

    TfrmQZQZ0030 explanation(nullptr);
    explanation.SetPartCode(QStringLiteral("1"));
    explanation.ExamCategory = QStringLiteral("2");
    explanation.WizardMode = true;
    QStringList modesSeen;
    QString captionSeen;
    int endButtonRight = 0;

    // Next, back to the explanation, next again, start.
    WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget*) {
      captionSeen = explanation.EndBtn->text();
      endButtonRight =
          explanation.BottomBand()->width() - explanation.EndBtn->geometry().right() - 1;
      WhenModal(Named(QStringLiteral("TfrmQZTP0060")), [&](QWidget* w) {
        auto* start = static_cast<TfrmQZTP0060*>(w);
        modesSeen << start->StartMode;
        QVERIFY(!explanation.isVisible());
        WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget*) {
          WhenModal(Named(QStringLiteral("TfrmQZTP0060")), [&](QWidget* w2) {
            auto* again = static_cast<TfrmQZTP0060*>(w2);
            modesSeen << again->StartMode;
            again->ShikenStartBtn->click();
          });
          explanation.EndBtn->click();
        });
        start->BackBtn->click();
      });
      explanation.EndBtn->click();
    });
    QCOMPARE(explanation.ShowModal(), ModalResult::Ok);
    QCOMPARE(captionSeen, caption);
    QCOMPARE(endButtonRight, 28);
    QCOMPARE(modesSeen, QStringList({startMode, startMode}));
    const QString log = LogText(fixture);
    QCOMPARE(log.count(QStringLiteral("QZQZ0030：開始")), 2);
    QCOMPARE(log.count(QStringLiteral("QZQZ0030：次へ")), 2);
    QCOMPARE(log.count(QStringLiteral("QZTP0060：開始")), 2);
  }

  void explanationKnowledgeWithPractice() {
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    fixture.makeDir(QStringLiteral("system/Z1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZQZ0030 explanation(nullptr);
    explanation.SetPartCode(QStringLiteral("1"));
    explanation.ExamCategory = QStringLiteral("1");
    explanation.WizardMode = true;
    QString mode;
    WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget*) {
      QCOMPARE(explanation.EndBtn->text(), QStringLiteral("次へ >"));
      QCOMPARE(explanation.EndBtn->width(), 80);
      WhenModal(Named(QStringLiteral("TfrmQZTP0060")), [&](QWidget* w) {
        mode = static_cast<TfrmQZTP0060*>(w)->StartMode;
        static_cast<TfrmQZTP0060*>(w)->BackBtn->click();
      });
      explanation.EndBtn->click();
      // Back again: the notes screen would show itself.
      explanation.BackBtn->click();
    });
    QCOMPARE(explanation.ShowModal(), ModalResult::Back);
    QCOMPARE(mode, QStringLiteral("4"));

    // With 延長終了 set no practice is offered.
    QVERIFY(WriteIni(SetupIniPath(QStringLiteral("1")), QStringLiteral("基本情報"),
                     QStringLiteral("延長終了"), QStringLiteral("1")));
    WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget*) {
      WhenModal(Named(QStringLiteral("TfrmQZTP0060")), [&](QWidget* w) {
        mode = static_cast<TfrmQZTP0060*>(w)->StartMode;
        static_cast<TfrmQZTP0060*>(w)->ShikenStartBtn->click();
      });
      explanation.EndBtn->click();
    });
    QCOMPARE(explanation.ShowModal(), ModalResult::Ok);
    QCOMPARE(mode, QStringLiteral("1"));
  }

  void explanationCloseAsksInWizardOnly() {
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZQZ0030 explanation(nullptr);
    explanation.SetPartCode(QStringLiteral("1"));
    explanation.ExamCategory = QStringLiteral("1");
    explanation.WizardMode = true;
    QString question;
    WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget*) {
      WhenModal({}, [&](QWidget* box) {
        question = static_cast<QMessageBox*>(box)->text();
        FindButton(box, QMessageBox::No)->click();
      });
      explanation.CloseButton()->click();
      QVERIFY(explanation.isVisible());
      QVERIFY(!LogText(fixture).contains(QStringLiteral("QZQZ0030：閉じる")));
      WhenModal({}, ClickButton(QMessageBox::Yes));
      explanation.CloseButton()->click();
    });
    QCOMPARE(explanation.ShowModal(), ModalResult::Cancel);
    QVERIFY2(question.contains(QStringLiteral("受験プログラムを終了します。")),
             qPrintable(question));
    QVERIFY(LogText(fixture).contains(QStringLiteral("QZQZ0030：閉じる")));

    // Opened from an exam window: a plain viewer that closes without asking.
    TfrmQZQZ0030 viewer(nullptr);
    viewer.SetPartCode(QStringLiteral("1"));
    viewer.ExamCategory = QStringLiteral("1");
    viewer.KeepOnTop = false;
    WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget*) {
      QVERIFY(viewer.EndBtn->isHidden());
      QVERIFY(viewer.BackBtn->isHidden());
      QCOMPARE(viewer.StepBandHeight(), 0);
      viewer.CloseButton()->click();
    });
    QCOMPARE(viewer.ShowModal(), ModalResult::Cancel);
  }

  void explanationSizesItselfToThePicture_data() {
    QTest::addColumn<bool>("wizard");
    QTest::addColumn<int>("bands");
    QTest::newRow("wizard") << true << 70 + 94 + 40;
    QTest::newRow("exam window") << false << 70 + 40;
  }
  void explanationSizesItselfToThePicture() {
    QFETCH(bool, wizard);
    QFETCH(int, bands);
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    fixture.writePicture(QStringLiteral("system/1/html/o/OperationExplanation.jpeg"), 420, 300,
                         QStringLiteral("jpg"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZQZ0030 explanation(nullptr);
    explanation.SetPartCode(QStringLiteral("1"));
    explanation.ExamCategory = QStringLiteral("1");
    explanation.WizardMode = wizard;
    explanation.show();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(explanation.size(), QSize(420, 300 + bands));
    QCOMPARE(explanation.pos(),
             QPoint(qRound((screen.width() - 420) / 2.0), (screen.height() - 300 - bands) / 2));
    QCOMPARE(explanation.OpeImg->geometry(), QRect(0, bands - 40, 420, 300));
    if (wizard) QCOMPARE(explanation.EndBtn->x(), 420 - 80 - 28);
    explanation.close();
  }

  void explanationKeepsTheApplicationOnTop_data() {
    QTest::addColumn<bool>("keepOnTop");
    QTest::newRow("asked") << true;
    QTest::newRow("not asked") << false;
  }
  void explanationKeepsTheApplicationOnTop() {
    QFETCH(bool, keepOnTop);
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    QWidget background;
    SetApplicationMainWindow(&background);
    TfrmQZQZ0030 explanation(nullptr);
    explanation.SetPartCode(QStringLiteral("1"));
    explanation.ExamCategory = QStringLiteral("1");
    explanation.KeepOnTop = keepOnTop;
    explanation.show();
    QCOMPARE(background.windowFlags().testFlag(Qt::WindowStaysOnTopHint), keepOnTop);
    explanation.close();
    SetApplicationMainWindow(nullptr);
  }

  void explanationWithoutPictureKeepsDesignSize() {
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZQZ0030 explanation(nullptr);
    explanation.SetPartCode(QStringLiteral("1"));
    explanation.ExamCategory = QStringLiteral("1");
    explanation.WizardMode = true;
    explanation.show();
    QCOMPARE(explanation.size(), QSize(865, 751));
    QVERIFY(explanation.OpeImg->pixmap().isNull());
    explanation.close();
  }

  // ---- Exam start --------------------------------------------------------------------------

  void startCaptions_data() {
    QTest::addColumn<QString>("practicalType");  // 受験タイプ of the practical part 2
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("instruction");
    QTest::newRow("1 with question wording")
        << "2"
        << "1"
        << "1"
        << "知識問題開始 >"
        << "TishikiMImg"
        << "試験監督者の指示に従って [知識問題開始] ボタンをクリックし、試験を開始してください。";
    QTest::newRow("1 with exam wording")
        << "1"
        << "1"
        << "1"
        << "知識試験開始 >"
        << "TishikiImg"
        << "試験監督者の指示に従って [知識試験開始] ボタンをクリックし、試験を開始してください。";
    QTest::newRow("4 exam wording") << "1"
                                    << "1"
                                    << "4"
                                    << "操作練習開始 >"
                                    << "TishikiImg"
                                    << "Webブラウザーの起動、各ウィンドウのサイズや位置の調整、";
    QTest::newRow("2 question wording")
        << "2"
        << "2"
        << "2"
        << "操作練習開始 >"
        << "ZitsugiMIMg"
        << "操作の確認と、問題表示ウィンドウのレイアウトを設定します。";
    QTest::newRow("3 question wording")
        << "2"
        << "2"
        << "3"
        << "実技問題開始 >"
        << "ZitsugiMIMg"
        << "試験監督者の指示に従って［実技問題開始］ボタンをクリックし、試験を開始してください。";
    QTest::newRow("3 exam wording")
        << "1"
        << "2"
        << "3"
        << "実技試験開始 >"
        << "ZitsugiImg"
        << "試験監督者の指示に従って［実技試験開始］ボタンをクリックし、試験を開始してください。";
  }
  void startCaptions() {
    QFETCH(QString, practicalType);
    QFETCH(QString, part);
    QFETCH(QString, mode);
    QFETCH(QString, caption);
    QFETCH(QString, picture);
    QFETCH(QString, instruction);
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    fixture.practicalPart(QStringLiteral("2"), practicalType);
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();

    TfrmQZTP0060 start(nullptr);
    start.SetPartCode(part);
    start.StartMode = mode;
    start.show();
    QCOMPARE(start.size(), QSize(644, 503));
    QCOMPARE(start.ShikenStartBtn->text(), caption);
    QCOMPARE(start.TyuiLbl->text(), instruction);
    QVERIFY(start.Picture(picture)->isVisibleTo(&start));
    QCOMPARE(start.Picture(QStringLiteral("ZitsugiRenImg"))->isVisibleTo(&start),
             mode == u"4" || mode == u"2");
    QCOMPARE(start.Picture(picture)->y(), 264);
    // The grade name splits by characters: "３級".
    QCOMPARE(start.KyuName1Lbl->text(), QStringLiteral("３"));
    QCOMPARE(start.KyuLbl2Lbl->text(), QStringLiteral("級"));
    QCOMPARE(start.ShikenNameLbl->text(), QStringLiteral("テスト検定"));
    QVERIFY(start.BackBtn->isVisibleTo(&start));
    QVERIFY(!start.JBackImg->isVisibleTo(&start));
    start.close();
  }

  void startAfterPracticeHasNoBack() {
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZTP0060 start(nullptr);
    start.SetPartCode(QStringLiteral("1"));
    start.StartMode = QStringLiteral("1");
    start.AfterPractice = true;
    WhenModal(Named(QStringLiteral("TfrmQZTP0060")), [&](QWidget*) {
      QVERIFY(start.BackBtn->isHidden());
      start.ShikenStartBtn->click();
    });
    QCOMPARE(start.ShowModal(), ModalResult::Ok);
  }

  void startWebLayout_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("badge");
    QTest::newRow("practical part 1") << "1"
                                      << "Html5StTopImg";
    QTest::newRow("practical part 2") << "2"
                                      << "Html5ExTopImg";
  }
  void startWebLayout() {
    QFETCH(QString, part);
    QFETCH(QString, badge);
    FixtureInstallation fixture;
    fixture.practicalPart(QStringLiteral("1"), QStringLiteral("3"));
    fixture.practicalPart(QStringLiteral("2"), QStringLiteral("3"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZTP0060 start(nullptr);
    start.SetPartCode(part);
    start.StartMode = QStringLiteral("2");
    start.show();
    QCOMPARE(start.size(), QSize(704, 553));
    QVERIFY(start.JBackImg->isVisibleTo(&start));
    QVERIFY(!start.BackImg->isVisibleTo(&start));
    QVERIFY(start.Picture(badge)->isVisibleTo(&start));
    QCOMPARE(start.Picture(badge)->pos(), QPoint(290, 300));
    QLabel* practice = start.Picture(QStringLiteral("ZitsugiRenHImg"));
    QVERIFY(practice->isVisibleTo(&start));
    QCOMPARE(practice->y(), 370);
    QCOMPARE(start.TyuiLbl->pos(), QPoint(131, practice->geometry().bottom() + 1 + 40));
    QCOMPARE(start.Tyui2Lbl->pos(), QPoint(162, practice->geometry().bottom() + 1 + 60));
    QCOMPARE(start.ShikenStartBtn->x(), 644 - 28 - 113 + 50);
    start.close();
  }

  void gradePictureCentresWithThePartPicture() {
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    // A red 200 x 30 grade picture scales to 100 x 15 and goes left of the part picture.
    QImage grade(200, 30, QImage::Format_RGB32);
    grade.fill(Qt::red);
    fixture.makeDir(QStringLiteral("system/Image"));
    QVERIFY(grade.save(ImagePath(QStringLiteral("KyuTopImage.png"))));
    QVERIFY(WriteIni(SystemIniPath(), QStringLiteral("基本情報"), QStringLiteral("級TOP画像拡張子"),
                     QStringLiteral(".png")));
    TfrmQZTP0060 start(nullptr);
    start.SetPartCode(QStringLiteral("1"));
    start.StartMode = QStringLiteral("1");
    start.show();
    QVERIFY(start.KyuName1Lbl->isHidden());
    QVERIFY(start.KyuLbl2Lbl->isHidden());
    QCOMPARE(start.Picture(QStringLiteral("TishikiImg"))->x(), 208 + 100 + 12);
    const QImage cover = start.BackImg->pixmap().toImage();
    QCOMPARE(QColor(cover.pixel(258, 271)), QColor(Qt::red));
    start.close();
  }

  void startCloseAsks() {
    FixtureInstallation fixture;
    fixture.knowledgePart(QStringLiteral("1"));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    fixture.setExeFolder();
    TfrmQZTP0060 start(nullptr);
    start.SetPartCode(QStringLiteral("1"));
    start.StartMode = QStringLiteral("1");
    WhenModal(Named(QStringLiteral("TfrmQZTP0060")), [&](QWidget*) {
      WhenModal({}, ClickButton(QMessageBox::No));
      start.CloseButton()->click();
      QVERIFY(start.isVisible());
      WhenModal({}, ClickButton(QMessageBox::Yes));
      start.CloseButton()->click();
    });
    QCOMPARE(start.ShowModal(), ModalResult::Cancel);
    QCOMPARE(LogText(fixture).count(QStringLiteral("QZTP0060：閉じる")), 1);
  }
};

EXAMORA_TEST(TestStartScreens)
#include "tst_startscreens.moc"
