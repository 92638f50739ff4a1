#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <optional>

#include "Fixture.h"
#include "ManualClock.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "WriteFailure.h"
#include "common/Cp932.h"
#include "common/QZMessage.h"
#include "exam/QZMain.h"
#include "exam/model/ExamClock.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

using FakeClock = test::ManualClock;

// The answer line of the fixture's part 1 ({2, 3, 4} sub-questions).
QByteArray Record(const QStringList& answers) {
  QStringList fields = {u"T3"_s, u"1"_s, u"01234"_s, u"1001"_s};
  fields += answers;
  return ToCp932(fields.join(u',')) + "\r\n";
}

enum Fault { SizeLimit, ReadOnlyFile, ReadOnlyFolder };

}  // namespace

// The knowledge window when a.csv cannot be rewritten: the candidate sees the save error with
// the platform's reason, the file keeps the last complete record byte for byte, the choice
// stays on screen and the next click that can write stores it together with the new one.
class TestAnswerWriteFailure : public QObject {
  Q_OBJECT

  std::unique_ptr<FixtureInstallation> fx_;
  FakeClock clock_;

 private slots:
  void init() {
    fx_ = std::make_unique<FixtureInstallation>();
    fx_->knowledgePart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }
  void cleanup() {
    MakeWritable(fx_->path(u"system/1"_s));
    MakeWritable(fx_->path(u"system/1/a.csv"_s));
    fx_.reset();
  }

  void failedSaveIsShownAndRetriedByTheNextClick_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("file-size limit") << int(SizeLimit) << EFBIG;
    QTest::newRow("read-only file") << int(ReadOnlyFile) << EACCES;
    QTest::newRow("read-only folder") << int(ReadOnlyFolder) << EACCES;
  }
  void failedSaveIsShownAndRetriedByTheNextClick() {
    QFETCH(int, fault);
    QFETCH(int, error);
    TfrmQZMain w(nullptr, &clock_);
    w.SetPart(u"1"_s, true);
    w.VenueCode = u"01234"_s;
    w.CandidateNumber = u"1001"_s;
    w.setGeometry(0, 0, 1024, 768);
    w.show();
    QTRY_VERIFY(!w.FirstActivation);
    w.RadioButton(3, 2)->click();
    QStringList answers(9);
    answers[1] = u"2"_s;
    const QByteArray before = fx_->readBytes(u"system/1/a.csv"_s);
    QCOMPARE(before, Record(answers));

    QString shown;
    {
      std::optional<FileSizeLimit> limit;
      NoPermissionOverride asCandidate;
      if (fault == SizeLimit) limit.emplace(before.size());
      if (fault == ReadOnlyFile) QVERIFY(MakeReadOnly(fx_->path(u"system/1/a.csv"_s)));
      if (fault == ReadOnlyFolder) QVERIFY(MakeReadOnly(fx_->path(u"system/1"_s)));
      auto wait = WhenModal([](QWidget* box) { return qobject_cast<QMessageBox*>(box); },
                            [&](QWidget* box) {
                              shown = static_cast<QMessageBox*>(box)->text();
                              ClickButton(QMessageBox::Ok)(box);
                            });
      w.RadioButton(2, 4)->click();
      if (!wait->fired()) wait->cancel();
    }
    QCOMPARE(shown, msg::kAnswerSaveFailed.mid(3) + u"\r\n\r\n"_s +
                        QString::fromLocal8Bit(std::strerror(error)));
    QCOMPARE(fx_->readBytes(u"system/1/a.csv"_s), before);
    QVERIFY(w.RadioButton(2, 4)->isChecked());

    MakeWritable(fx_->path(u"system/1"_s));
    MakeWritable(fx_->path(u"system/1/a.csv"_s));
    w.RadioButton(5, 1)->click();
    answers[0] = u"4"_s;
    answers[2] = u"1"_s;
    QCOMPARE(fx_->readBytes(u"system/1/a.csv"_s), Record(answers));
  }
};

EXAMORA_TEST(TestAnswerWriteFailure)
#include "tst_answerwritefailure.moc"
