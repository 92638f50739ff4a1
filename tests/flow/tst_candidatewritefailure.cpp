#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "WriteFailure.h"
#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "flow/QZTP0020.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kShiken = u"system/shiken.ini"_s;

enum Fault { SizeLimit, ReadOnlyFolder };

void FillValidEntry(QWidget* s) {
  s->findChild<QLineEdit*>(u"KaiCdEdt"_s)->setText(u"01234"_s);
  s->findChild<QLineEdit*>(u"JuBanEdt"_s)->setText(u"000123"_s);
  s->findChild<QLineEdit*>(u"SeiEdt"_s)->setText(u"山田"_s);
  s->findChild<QLineEdit*>(u"MeiEdt"_s)->setText(u"花子"_s);
  for (const auto& [name, start] :
       {std::pair{u"YearCmb"_s, u"1995"_s}, std::pair{u"MonthCmb"_s, u"01月"_s},
        std::pair{u"DayCmb"_s, u"31日"_s}}) {
    auto* combo = s->findChild<QComboBox*>(name);
    combo->setCurrentIndex(combo->findText(start, Qt::MatchStartsWith));
  }
  s->findChild<QRadioButton*>(u"WomanRdo"_s)->setChecked(true);
}

}  // namespace

// The candidate information screen when shiken.ini cannot be written for a reason other than
// a read-only file (covered with the screen's other tests): over the file-size limit and in a
// read-only folder. The E11 text carries the platform's reason, the screen stays for another
// try and shiken.ini keeps its bytes.
class TestCandidateWriteFailure : public QObject {
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
    MakeWritable(fx_->path(u"system"_s));
    SetApplicationMainWindow(nullptr);
    SetExeFolder(QString());
    fx_.reset();
  }

  void refusedCandidateFileShowsE11AndKeepsTheScreen_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("file-size limit") << int(SizeLimit) << EFBIG;
    QTest::newRow("read-only folder") << int(ReadOnlyFolder) << EACCES;
  }
  void refusedCandidateFileShowsE11AndKeepsTheScreen() {
    QFETCH(int, fault);
    QFETCH(int, error);
    const QByteArray before = fx_->readBytes(kShiken);
    QString shown;
    bool stayed = false;
    {
      std::optional<FileSizeLimit> limit;
      NoPermissionOverride asCandidate;
      if (fault == SizeLimit) limit.emplace(before.size());
      if (fault == ReadOnlyFolder) QVERIFY(MakeReadOnly(fx_->path(u"system"_s)));
      TfrmQZTP0020 screen(nullptr);
      screen.SetPartCode(u"1"_s);
      auto run = WhenModal([&screen](QWidget* w) { return w == &screen; },
                           [&](QWidget*) {
                             FillValidEntry(&screen);
                             auto box =
                                 WhenModal([](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
                                           [&](QWidget* w) {
                                             shown = static_cast<QMessageBox*>(w)->text();
                                             ClickButton(QMessageBox::Ok)(w);
                                           });
                             screen.findChild<QPushButton*>(u"NextBtn"_s)->click();
                             if (!box->fired()) box->cancel();
                             stayed = screen.isVisible();
                             if (stayed) screen.done(99);
                           });
      QCOMPARE(screen.ShowModal(), 99);
    }
    QCOMPARE(shown, msg::kSystemWriteFailed.mid(3) + u"\r\n\r\n"_s +
                        QString::fromLocal8Bit(std::strerror(error)));
    QVERIFY(stayed);
    QCOMPARE(fx_->readBytes(kShiken), before);
  }
};

EXAMORA_TEST(TestCandidateWriteFailure)
#include "tst_candidatewritefailure.moc"
