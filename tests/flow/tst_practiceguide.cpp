#include <QFile>
#include <QTest>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/ExeFolder.h"
#include "flow/QZTP0120.h"
#include "flow/QZTP0130.h"
#include "widgets/RoundButton.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

// Going back and forth in the first steps of the operation practice.
class TestPracticeGuide : public QObject {
  Q_OBJECT

 private slots:
  void backAndNextReuseTheSteps() {
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    fx.makeDir(u"知識操作練習用"_s);
    // The file manager stand-in notes every folder it is asked to open.
    fx.makeDir(u"bin"_s);
    fx.writeFile(u"bin/xdg-open"_s,
                 "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/../opened.txt\"\n");
    QFile::setPermissions(fx.path(u"bin/xdg-open"_s),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", fx.path(u"bin"_s).toLocal8Bit() + ':' + savedPath);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();

    TfrmQZTP0120 guide(nullptr);
    guide.SetPartCode(u"1"_s);
    TfrmQZTP0130* first = nullptr;
    bool backShowsGuide = false;
    bool sameStepAgain = false;
    WhenModalAppears([&](QWidget*) {
      guide.OkBtn->click();
      first = guide.Step0130();
      QVERIFY(first && first->isVisible() && !guide.isVisible());
      QVERIFY(first->RensyuPnl->isVisibleTo(first));
      first->BackBtn->click();
      backShowsGuide = guide.isVisible() && !first->isVisible();
      guide.OkBtn->click();
      sameStepAgain = guide.Step0130() == first && first->isVisible();
      guide.done(ModalResult::Cancel);
    });
    guide.ShowModal();
    qputenv("PATH", savedPath);
    SetExeFolder(QString());

    QVERIFY(backShowsGuide);
    QVERIFY(sameStepAgain);
    QVERIFY(!guide.ExamWindowOpened);
    // The practice folder opens on the first "次へ >" only.
    QTRY_VERIFY_WITH_TIMEOUT(fx.exists(u"opened.txt"_s), 5000);
    QTest::qWait(300);
    QCOMPARE(fx.readBytes(u"opened.txt"_s).count('\n'), 1);
  }
};

EXAMORA_TEST(TestPracticeGuide)
#include "tst_practiceguide.moc"
