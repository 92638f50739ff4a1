#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "flow/QZQZ0030.h"
#include "flow/QZQZ0040.h"
#include "flow/QZTP0030.h"
#include "flow/model/NotesRules.h"
#include "widgets/RoundButton.h"

using namespace examora;
using namespace examora::test;

namespace {

ModalMatch Named(const QString& objectName) {
  return [objectName](QWidget* w) { return w->objectName() == objectName; };
}

QString LogText(const FixtureInstallation& fixture) {
  return FromCp932(fixture.readBytes(QStringLiteral("system/1/log.txt")));
}

RoundButton* Button(QWidget* screen, const char* name) {
  return screen->findChild<RoundButton*>(QString::fromLatin1(name));
}

QVariant Eval(QWebEnginePage* page, const QString& script) {
  QVariant result;
  QEventLoop loop;
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  page->runJavaScript(script, 0, [&](const QVariant& v) {
    result = v;
    loop.quit();
  });
  loop.exec();
  return result;
}

// A knowledge part whose notes are the given pages, each with two "FOLDER" elements.
void WriteNotes(FixtureInstallation& fixture, const QList<int>& pages) {
  fixture.knowledgePart(QStringLiteral("1"));
  fixture.removeFile(QStringLiteral("system/1/html/c/index1.html"));
  for (int n : pages) {
    fixture.writePage(QStringLiteral("system/1/html/c/index%1.html").arg(n),
                      QStringLiteral("<p id=n>%1</p><span name=FOLDER>?</span>"
                                     "<span name=FOLDER id=second>?</span>")
                          .arg(n));
  }
  fixture.setExeFolder();
}

// Closes a screen that an action left open because a check failed, so that a failing test
// ends instead of waiting in the screen's modal loop.
struct CloseIfLeftOpen {
  QDialog* screen;
  ~CloseIfLeftOpen() {
    if (screen->isVisible()) screen->done(ModalResult::Cancel);
  }
};

bool ShowsPage(TfrmQZTP0030& notes, int page) {
  const QString tail = QStringLiteral("/html/c/index%1.html").arg(page);
  return QTest::qWaitFor([&] { return notes.WebBrowser()->url().toString().endsWith(tail); }, 8000);
}

}  // namespace

class TestNotesScreen : public QObject {
  Q_OBJECT

 private slots:
  // ---- button rules ----------------------------------------------------------------------

  void buttonRule_data() {
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("fromExam");
    QTest::addColumn<int>("back");  // NotesButtons::Back
    QTest::addColumn<int>("next");  // NotesButtons::Next
    QTest::addColumn<bool>("hidden");
    using B = NotesButtons::Back;
    using N = NotesButtons::Next;
    const QList<int> one{1}, three{1, 2, 3}, gap{1, 2, 4};
    QTest::newRow("only page 1, wizard: back leaves, next explains")
        << one << 1 << false << int(B::LeaveBack) << int(N::Explanation) << false;
    QTest::newRow("only page 1, exam window: both hidden")
        << one << 1 << true << int(B::Disabled) << int(N::Disabled) << true;
    QTest::newRow("1-3 exam window, page 1")
        << three << 1 << true << int(B::Disabled) << int(N::NextPage) << false;
    QTest::newRow("1-3 exam window, page 2")
        << three << 2 << true << int(B::PreviousPage) << int(N::NextPage) << false;
    QTest::newRow("1-3 exam window, page 3")
        << three << 3 << true << int(B::PreviousPage) << int(N::Disabled) << false;
    QTest::newRow("1-3 wizard, page 3")
        << three << 3 << false << int(B::PreviousPage) << int(N::Explanation) << false;
    QTest::newRow("gap 1,2,4 wizard, page 2: explanation next")
        << gap << 2 << false << int(B::PreviousPage) << int(N::Explanation) << false;
    QTest::newRow("gap 1,2,4 exam window, page 2")
        << gap << 2 << true << int(B::PreviousPage) << int(N::Disabled) << false;
  }
  void buttonRule() {
    QFETCH(QList<int>, pages);
    QFETCH(int, page);
    QFETCH(bool, fromExam);
    QFETCH(int, back);
    QFETCH(int, next);
    QFETCH(bool, hidden);
    const NotesButtons b = NotesButtonRule(
        page, [&](int n) { return pages.contains(n); }, fromExam);
    QVERIFY(b.pageExists);
    QCOMPARE(int(b.back), back);
    QCOMPARE(int(b.next), next);
    QCOMPARE(b.hidden, hidden);
  }

  void shortcutKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<uint>("virtualKey");
    QTest::addColumn<QString>("linkMode");  // "T" for the time extension, "" for none
    const int cs = int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("1") << int(Qt::Key_1) << cs << 0u << "2";
    QTest::newRow("! (shifted 1)") << int(Qt::Key_Exclam) << cs << 0u << "2";
    QTest::newRow("2") << int(Qt::Key_2) << cs << 0u << "1";
    QTest::newRow("@ (US shifted 2)") << int(Qt::Key_At) << cs << 0u << "1";
    QTest::newRow("\" (JP shifted 2)") << int(Qt::Key_QuoteDbl) << cs << 0u << "1";
    QTest::newRow("backslash") << int(Qt::Key_Backslash) << cs << 0u << "3";
    QTest::newRow("yen") << int(Qt::Key_yen) << cs << 0u << "3";
    QTest::newRow("| (shifted yen)") << int(Qt::Key_Bar) << cs << 0u << "3";
    QTest::newRow("T") << int(Qt::Key_T) << cs << 0u << "T";
    QTest::newRow("Ctrl only") << int(Qt::Key_1) << int(Qt::ControlModifier) << 0u << "";
    QTest::newRow("with Alt (AltGr)") << int(Qt::Key_1) << (cs | int(Qt::AltModifier)) << 0u << "";
    QTest::newRow("other key") << int(Qt::Key_3) << cs << 0u << "";
    QTest::newRow("VK 0xDC whatever the character")
        << int(Qt::Key_Underscore) << cs << 0xDCu << "3";
    QTest::newRow("VK 0x31 over the character") << int(Qt::Key_Ampersand) << cs << 0x31u << "2";
    QTest::newRow("VK decides against the character") << int(Qt::Key_1) << cs << 0xE2u << "";
  }
  void shortcutKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(uint, virtualKey);
    QFETCH(QString, linkMode);
    const NotesShortcut s = NotesShortcutFor(key, Qt::KeyboardModifiers(modifiers), virtualKey);
    if (linkMode == u"T")
      QCOMPARE(s, NotesShortcut::TimeExtension);
    else if (linkMode.isEmpty())
      QCOMPARE(s, NotesShortcut::None);
    else
      QCOMPARE(LinkModeOf(s), linkMode);
  }

  // ---- the screen --------------------------------------------------------------------------

  void wizardWalksPagesThenExplanation() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1, 2, 3});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    const QString folderName = QFileInfo(fixture.root()).fileName();
    QStringList seen;

    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      RoundButton* back = Button(&notes, "BackBtn");
      RoundButton* next = Button(&notes, "NextBtn");
      QVERIFY(ShowsPage(notes, 1));
      QCOMPARE(notes.windowTitle(), QStringLiteral("テスト冊子[知識]"));
      QVERIFY(back->isEnabled());
      QCOMPARE(back->ModalResult(), ModalResult::Back);
      QVERIFY(notes.StepBand()->isVisible());
      QTRY_COMPARE_WITH_TIMEOUT(
          Eval(notes.WebBrowser()->page(),
               QStringLiteral("document.getElementsByName('FOLDER')[0].textContent"))
              .toString(),
          folderName, 5000);
      QCOMPARE(Eval(notes.WebBrowser()->page(),
                    QStringLiteral("document.getElementById('second').textContent"))
                   .toString(),
               QStringLiteral("?"));
      next->click();
      QVERIFY(ShowsPage(notes, 2));
      QCOMPARE(back->ModalResult(), 0);
      next->click();
      QVERIFY(ShowsPage(notes, 3));
      QVERIFY(next->isEnabled());
      // Last page: the explanation follows; "back" there shows page 3 again.
      WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget* w) {
        auto* explanation = static_cast<TfrmQZQZ0030*>(w);
        CloseIfLeftOpen guard{explanation};
        seen << QStringLiteral("explanation %1 %2 %3")
                    .arg(explanation->ExamCategory)
                    .arg(explanation->KeepOnTop)
                    .arg(explanation->WizardMode);
        QVERIFY(!notes.isVisible());
        explanation->done(ModalResult::Back);
      });
      next->click();
      QVERIFY(notes.isVisible());
      QCOMPARE(notes.PageNumber(), 3);
      QVERIFY(ShowsPage(notes, 3));
      WhenModal(Named(QStringLiteral("TfrmQZQZ0030")),
                [](QWidget* w) { static_cast<QDialog*>(w)->done(ModalResult::Ok); });
      next->click();
    });
    QCOMPARE(notes.ShowModal(), ModalResult::Ok);
    QCOMPARE(seen, QStringList{QStringLiteral("explanation 1 1 1")});
    const QString log = LogText(fixture);
    QCOMPARE(log.count(QStringLiteral("QZTP0030：開始")), 2);
    QCOMPARE(log.count(QStringLiteral("QZTP0030：次へ")), 4);
  }

  void backOnFirstPageLeavesWithBack() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      QVERIFY(ShowsPage(notes, 1));
      Button(&notes, "BackBtn")->click();
    });
    QCOMPARE(notes.ShowModal(), ModalResult::Back);
    QCOMPARE(notes.PageNumber(), 1);
    QVERIFY(LogText(fixture).contains(QStringLiteral("QZTP0030：戻る")));
  }

  void examWindowModeButtons() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1, 2, 3});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    notes.FromExamWindow = true;
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      RoundButton* back = Button(&notes, "BackBtn");
      RoundButton* next = Button(&notes, "NextBtn");
      QVERIFY(ShowsPage(notes, 1));
      QVERIFY(!notes.StepBand()->isVisible());
      QCOMPARE(notes.WebBrowser()->y(), 70);
      QVERIFY(!back->isEnabled());
      QVERIFY(back->isVisible());
      QVERIFY(next->isEnabled());
      next->click();
      next->click();
      QVERIFY(ShowsPage(notes, 3));
      QVERIFY(!next->isEnabled());
      QVERIFY(back->isEnabled());
      back->click();
      QVERIFY(ShowsPage(notes, 2));
      // "閉じる" asks nothing here.
      Button(&notes, "plButton1")->click();
    });
    QCOMPARE(notes.ShowModal(), ModalResult::Cancel);
    QCOMPARE(LogText(fixture).count(QStringLiteral("QZTP0030：終了")), 1);
  }

  void examWindowSinglePageHidesButtons() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    notes.FromExamWindow = true;
    bool backShown = true, nextShown = true;
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      backShown = Button(&notes, "BackBtn")->isVisible();
      nextShown = Button(&notes, "NextBtn")->isVisible();
      notes.done(ModalResult::Cancel);
    });
    notes.ShowModal();
    QVERIFY(!backShown);
    QVERIFY(!nextShown);
  }

  void closeAsksInWizard() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    QString question;
    bool stayedAfterNo = false;
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      WhenModal([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                [&](QWidget* w) {
                  question = static_cast<QMessageBox*>(w)->text();
                  ClickButton(QMessageBox::No)(w);
                });
      Button(&notes, "plButton1")->click();
      stayedAfterNo = notes.isVisible() && !LogText(fixture).contains(QStringLiteral("終了"));
      WhenModal([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                ClickButton(QMessageBox::Yes));
      Button(&notes, "plButton1")->click();
    });
    QCOMPARE(notes.ShowModal(), ModalResult::Cancel);
    QVERIFY(stayedAfterNo);
    QVERIFY(question.contains(QStringLiteral("受験プログラムを終了します。")));
    QVERIFY(question.contains(QStringLiteral("前の画面に戻る場合は「いいえ」を押してください。")));
    QCOMPARE(LogText(fixture).count(QStringLiteral("QZTP0030：終了")), 1);
  }

  void linkModeShortcuts_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("linkMode");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<bool>("bare");  // a press no shortcut saw first (only the key event)
    QTest::newRow("Ctrl+Shift+1") << int(Qt::Key_1) << "2"
                                  << "#ffa500" << false;
    QTest::newRow("Ctrl+Shift+2") << int(Qt::Key_2) << "1"
                                  << "#32cd32" << false;
    QTest::newRow("Ctrl+Shift+backslash") << int(Qt::Key_Backslash) << "3"
                                          << "#ffffff" << false;
    QTest::newRow("Ctrl+Shift+! (as shifted 1 arrives)") << int(Qt::Key_Exclam) << "2"
                                                         << "#ffa500" << false;
    QTest::newRow("Ctrl+Shift+| (shifted yen)") << int(Qt::Key_Bar) << "3"
                                                << "#ffffff" << false;
    QTest::newRow("bare press of Ctrl+Shift+\"") << int(Qt::Key_QuoteDbl) << "1"
                                                 << "#32cd32" << true;
    QTest::newRow("bare press of Ctrl+Shift+yen") << int(Qt::Key_yen) << "3"
                                                  << "#ffffff" << true;
  }
  void linkModeShortcuts() {
    QFETCH(int, key);
    QFETCH(QString, linkMode);
    QFETCH(QString, colour);
    QFETCH(bool, bare);
    FixtureInstallation fixture;
    WriteNotes(fixture, {1});
    fixture.writeIni(QStringLiteral("system/shiken.ini"),
                     QStringLiteral("[受験者情報]\n連携=%1\n")
                         .arg(linkMode == u"2" ? QStringLiteral("1") : QStringLiteral("2")));
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    QString titleStyle;
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      QVERIFY(ShowsPage(notes, 1));
      // The keys work while the page has the focus, as it mostly has.
      notes.WebBrowser()->setFocus();
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &notes;
      const auto mods = Qt::ControlModifier | Qt::ShiftModifier;
      if (bare) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
      } else {
        QTest::keyClick(target, Qt::Key(key), mods);
      }
      titleStyle = notes.TitleLabel()->styleSheet();
      notes.done(ModalResult::Cancel);
    });
    notes.ShowModal();
    QCOMPARE(fixture.readIni(QStringLiteral("system/shiken.ini"), QStringLiteral("受験者情報"),
                             QStringLiteral("連携")),
             linkMode);
    QVERIFY2(titleStyle.contains(colour), qPrintable(titleStyle));
    QVERIFY(!LogText(fixture).contains(QStringLiteral("連携")));
  }

  void timeExtensionShortcutOpensInput() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZTP0030 notes(nullptr);
    notes.SetPartCode(QStringLiteral("1"));
    bool inputShown = false;
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget*) {
      CloseIfLeftOpen guard{&notes};
      WhenModal(Named(QStringLiteral("TfrmQZTP0200")), [&](QWidget* w) {
        inputShown = true;
        static_cast<QDialog*>(w)->done(ModalResult::Cancel);
      });
      QTest::keyClick(&notes, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
      QVERIFY(notes.isVisible());
      notes.done(ModalResult::Cancel);
    });
    notes.ShowModal();
    QVERIFY(inputShown);
  }

  // ---- the cover ---------------------------------------------------------------------------

  void coverOpensNotesFromExamWindow() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1, 2});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZQZ0040 cover(nullptr);
    cover.SetPartCode(QStringLiteral("1"));
    cover.ShowNotes = true;
    bool fromExam = false;
    QRect coverGeometry;
    WhenModal(Named(QStringLiteral("TfrmQZTP0030")), [&](QWidget* w) {
      auto* notes = static_cast<TfrmQZTP0030*>(w);
      CloseIfLeftOpen guard{notes};
      fromExam = notes->FromExamWindow && notes->PartCode() == u"1";
      coverGeometry = cover.geometry();
      Button(notes, "plButton1")->click();
    });
    cover.ShowModal();
    QVERIFY(fromExam);
    QVERIFY(!cover.isVisible());
    QCOMPARE(coverGeometry, QRect(QPoint(0, 0), QGuiApplication::primaryScreen()->size()));
    QVERIFY(!(cover.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!LogText(fixture).contains(QStringLiteral("QZQZ0040")));
  }

  void coverOpensExplanation() {
    FixtureInstallation fixture;
    WriteNotes(fixture, {1});
    QVERIFY2(fixture.ok(), qPrintable(fixture.error()));
    TfrmQZQZ0040 cover(nullptr);
    cover.SetPartCode(QStringLiteral("1"));
    cover.ShowNotes = false;
    cover.ExamCategory = QStringLiteral("1");
    cover.KeepOnTop = false;
    QString seen;
    WhenModal(Named(QStringLiteral("TfrmQZQZ0030")), [&](QWidget* w) {
      auto* explanation = static_cast<TfrmQZQZ0030*>(w);
      seen = QStringLiteral("%1 %2 %3")
                 .arg(explanation->ExamCategory)
                 .arg(explanation->KeepOnTop)
                 .arg(explanation->WizardMode);
      explanation->done(ModalResult::Cancel);
    });
    cover.ShowModal();
    QCOMPARE(seen, QStringLiteral("1 0 0"));
    QVERIFY(!cover.isVisible());
  }
};

EXAMORA_TEST(TestNotesScreen)
#include "tst_qztp0030.moc"
