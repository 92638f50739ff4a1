#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "Fixture.h"
#include "SessionDriver.h"
#include "TestRegistry.h"
#include "WriteFailure.h"
#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "flow/QZBG0010.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

const QString kSetup = u"system/1/setup.ini"_s;

enum Fault { SizeLimit, ReadOnlyFolder };

}  // namespace

// The session's first state write at start-up refused for reasons other than a read-only
// setup.ini (covered by the session tests): over the file-size limit and in a read-only part
// folder. The program shows its E11 text with the platform's reason and ends without running
// a screen, and setup.ini keeps its bytes.
class TestSessionWriteFailure : public QObject {
  Q_OBJECT

  std::unique_ptr<FixtureInstallation> fx_;

 private slots:
  void init() {
    fx_ = std::make_unique<FixtureInstallation>();
    fx_->knowledgePart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }
  void cleanup() {
    MakeWritable(fx_->path(u"system/1"_s));
    SetApplicationMainWindow(nullptr);
    SetExeFolder(QString());
    fx_.reset();
  }

  void refusedFirstWriteShowsE11AndEnds_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("file-size limit") << int(SizeLimit) << EFBIG;
    QTest::newRow("read-only part folder") << int(ReadOnlyFolder) << EACCES;
  }
  void refusedFirstWriteShowsE11AndEnds() {
    QFETCH(int, fault);
    QFETCH(int, error);
    const QByteArray before = fx_->readBytes(kSetup);
    QString shown;
    bool screenShown = false;
    {
      std::optional<FileSizeLimit> limit;
      NoPermissionOverride asCandidate;
      // One byte short of the file as it is: rewriting even the same value cannot fit.
      if (fault == SizeLimit) limit.emplace(before.size() - 1);
      if (fault == ReadOnlyFolder) QVERIFY(MakeReadOnly(fx_->path(u"system/1"_s)));
      auto box = WhenModal(
          [&](QWidget* w) {
            if (qobject_cast<QMessageBox*>(w)) return true;
            screenShown = true;
            return false;
          },
          [&](QWidget* w) {
            shown = static_cast<QMessageBox*>(w)->text();
            ClickButton(QMessageBox::Ok)(w);
          },
          10000);
      TfrmQZBG0010 background(u"[1]知識.exe"_s, {});
      QVERIFY(background.FormCreate());
      SetApplicationMainWindow(&background);
      QSignalSpy finished(&background, &TfrmQZBG0010::sessionFinished);
      background.show();
      QVERIFY(finished.count() == 1 || finished.wait(60000));
      SetApplicationMainWindow(nullptr);
    }
    QCOMPARE(shown, msg::kSystemWriteFailed.mid(3) + u"\r\n\r\n"_s +
                        QString::fromLocal8Bit(std::strerror(error)));
    QVERIFY(!screenShown);
    QCOMPARE(fx_->readBytes(kSetup), before);
  }
};

EXAMORA_TEST(TestSessionWriteFailure)
#include "tst_sessionwritefailure.moc"
