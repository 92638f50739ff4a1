#include <QTest>

#include "Fixture.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/model/ExamClock.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(examora::ClockVariant)
Q_DECLARE_METATYPE(examora::LimitDecision)

namespace {

constexpr qint64 kMinute = 60 * 1000;

// A monotonic clock the test moves by hand.
struct FakeClock final : ClockSource {
  qint64 ms = 7'000'000;
  qint64 MonotonicMs() const override { return ms; }
};

struct WriteCall {
  QString folderCode;
  int minutes;
};

}  // namespace

class TestExamClock : public QObject {
  Q_OBJECT

  std::unique_ptr<test::FixtureInstallation> fx_;

  void SetTime(const QString& folderCode, const QString& key, const QString& value) {
    QVERIFY(WriteIni(SetupIniPath(folderCode), QStringLiteral("試験時間"), key, value).ok);
  }
  void SetBasic(const QString& relative, const QString& key, const QString& value) {
    QVERIFY(WriteIni(relative, QStringLiteral("基本情報"), key, value).ok);
  }
  QString Log() const { return FromCp932(fx_->readBytes(QStringLiteral("system/1/log.txt"))); }
  // A practice folder with its own times.
  void MakePracticeFolder(int all, int now) {
    fx_->writeIni(
        QStringLiteral("system/Z1/setup.ini"),
        QStringLiteral("[基本情報]\n試験区分=1\n強制終了=\n\n[試験時間]\nall=%1\nadd=0\nnow=%2\n")
            .arg(all)
            .arg(now));
  }

 private slots:
  void init() {
    fx_ = std::make_unique<test::FixtureInstallation>();
    fx_->knowledgePart(QStringLiteral("1"), {2}, 4, 50);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }
  void cleanup() { fx_.reset(); }

  void formatClockMinutes_data() {
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << QStringLiteral(" 0");
    QTest::newRow("5") << 5 << QStringLiteral(" 5");
    QTest::newRow("60") << 60 << QStringLiteral("60");
    QTest::newRow("120") << 120 << QStringLiteral("120");
  }
  void formatClockMinutes() {
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(FormatClockMinutes(minutes), text);
  }

  // The limit from all and add, shown plain before the first tick and with "%2.0u" after.
  void limitDisplay_data() {
    QTest::addColumn<ClockVariant>("variant");
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("add");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("initial2");
    QTest::addColumn<QString>("tick2");
    const auto k = ClockVariant::Knowledge;
    QTest::newRow("50 + 10") << k << u"50"_s << u"10"_s << 60 << u"60分"_s << u"60分"_s;
    QTest::newRow("120 minutes") << k << u"120"_s << u"0"_s << 120 << u"120分"_s << u"120分"_s;
    QTest::newRow("one digit") << k << u"5"_s << u""_s << 5 << u"5分"_s << u" 5分"_s;
    QTest::newRow("all not a number") << k << u"abc"_s << u"x"_s << 1 << u"1分"_s << u" 1分"_s;
    QTest::newRow("answer-only ignores add")
        << ClockVariant::AnswerOnly << u"50"_s << u"10"_s << 50 << u"50分"_s << u"50分"_s;
  }
  void limitDisplay() {
    QFETCH(ClockVariant, variant);
    QFETCH(QString, all);
    QFETCH(QString, add);
    QFETCH(int, total);
    QFETCH(QString, initial2);
    QFETCH(QString, tick2);
    SetTime(u"1"_s, u"all"_s, all);
    SetTime(u"1"_s, u"add"_s, add);
    FakeClock clock;
    ExamClock exam(variant, u"1"_s, false, &clock);
    exam.SetUp();
    QCOMPARE(exam.TotalMinutes, total);
    QCOMPARE(exam.InitialTimeProgress1(), u" 0/"_s);
    QCOMPARE(exam.InitialTimeProgress2(), initial2);
    exam.Start();
    const ClockTick tick = exam.Tick();
    QCOMPARE(tick.timeProgress1, u" 0/"_s);
    QCOMPARE(tick.timeProgress2, tick2);
  }

  // 50 + 10 minutes with time control: nothing before 60 whole minutes, the time-over end at 60.
  void endsAtLimitWithTimeControl() {
    SetTime(u"1"_s, u"add"_s, u"10"_s);
    FakeClock clock;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false, &clock);
    exam.SetUp();
    exam.Start();
    QVERIFY(exam.IsRunning());
    clock.ms += 60 * kMinute - 1;
    ClockTick tick = exam.Tick();
    QCOMPARE(tick.timeProgress1, u"59/"_s);
    QCOMPARE(tick.limit, LimitDecision::None);
    clock.ms += 1;
    tick = exam.Tick();
    QCOMPARE(tick.timeProgress1, u"60/"_s);
    QCOMPARE(tick.limit, LimitDecision::TimeOverEnd);
    QCOMPARE(fx_->readIni(u"system/1/setup.ini"_s, u"試験時間"_s, u"now"_s), u"60"_s);
  }

  // A restarted part shows its stored minutes at once and counts on from the start of that
  // minute.
  void restartContinuesFromStoredMinutes() {
    SetTime(u"1"_s, u"now"_s, u"25"_s);
    FakeClock clock;
    QList<WriteCall> writes;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false, &clock,
                   [&writes](const QString& folder, int m) {
                     writes << WriteCall{folder, m};
                     return WriteResult::Success();
                   });
    exam.SetUp();
    QCOMPARE(exam.ElapsedMinutes, 25);
    exam.Start();
    QCOMPARE(exam.Tick().timeProgress1, u"25/"_s);
    QVERIFY(writes.isEmpty());
    clock.ms += kMinute - 1000;
    QCOMPARE(exam.Tick().timeProgress1, u"25/"_s);
    clock.ms += 1000;
    const ClockTick tick = exam.Tick();
    QCOMPARE(tick.timeProgress1, u"26/"_s);
    QVERIFY(tick.minuteChanged);
    QCOMPARE(writes.size(), 1);
    QCOMPARE(writes[0].minutes, 26);
  }

  // "now" is written on the change of minute only, with the real writer.
  void nowWrittenWhenMinuteChanges() {
    FakeClock clock;
    int writes = 0;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false, &clock,
                   [&writes](const QString& folder, int m) {
                     ++writes;
                     return WriteElapsedMinutes(folder, m);
                   });
    exam.SetUp();
    exam.Start();
    const qint64 start = clock.ms;
    for (const qint64 offset : {0LL, 30'000LL, 59'999LL, 60'000LL, 61'000LL, 119'000LL}) {
      clock.ms = start + offset;
      (void)exam.Tick();
    }
    QCOMPARE(writes, 1);
    QCOMPARE(fx_->readIni(u"system/1/setup.ini"_s, u"試験時間"_s, u"now"_s), u"1"_s);
    clock.ms = start + 2 * kMinute;
    (void)exam.Tick();
    QCOMPARE(writes, 2);
    QCOMPARE(fx_->readIni(u"system/1/setup.ini"_s, u"試験時間"_s, u"now"_s), u"2"_s);
  }

  // A failed write is logged with the system's text, the clock goes on, and the next change of
  // minute tries again. The compact window does not log it.
  void failedNowWrite_data() {
    QTest::addColumn<ClockVariant>("variant");
    QTest::addColumn<bool>("logged");
    QTest::newRow("knowledge") << ClockVariant::Knowledge << true;
    QTest::newRow("answer-only") << ClockVariant::AnswerOnly << true;
    QTest::newRow("compact") << ClockVariant::Compact << false;
  }
  void failedNowWrite() {
    QFETCH(ClockVariant, variant);
    QFETCH(bool, logged);
    FakeClock clock;
    int attempts = 0;
    ExamClock exam(variant, u"1"_s, false, &clock, [&attempts](const QString&, int) {
      ++attempts;
      return WriteResult::Failure(u"Permission denied"_s);
    });
    exam.SetUp();
    exam.Start();
    clock.ms += kMinute;
    ClockTick tick = exam.Tick();
    QVERIFY(tick.writeFailed);
    QCOMPARE(exam.ElapsedMinutes, 1);
    const QString line = u"QZMain：E11システム情報の書き込みに失敗しました。Permission denied"_s;
    QCOMPARE(tick.failureLogText, logged ? line : QString());
    QCOMPARE(Log().contains(line + u"\r\n"_s), logged);
    clock.ms += 30'000;
    tick = exam.Tick();
    QCOMPARE(attempts, 1);
    clock.ms += 30'000;
    tick = exam.Tick();
    QCOMPARE(attempts, 2);
    QCOMPARE(tick.minutes, 2);
  }

  // What happens at the limit, by window, practice, 強制終了 and タイムコントロール.
  void limitDecision_data() {
    QTest::addColumn<ClockVariant>("variant");
    QTest::addColumn<bool>("practice");
    QTest::addColumn<QString>("forcedEnd");
    QTest::addColumn<QString>("timeControl");
    QTest::addColumn<LimitDecision>("decision");
    const auto k = ClockVariant::Knowledge;
    const auto a = ClockVariant::AnswerOnly;
    QTest::newRow("forced end") << k << false << u"1"_s << u"1"_s << LimitDecision::ForcedEnd;
    QTest::newRow("forced end in practice")
        << k << true << u"1"_s << u"0"_s << LimitDecision::ForcedEnd;
    QTest::newRow("time control") << k << false << u"0"_s << u"1"_s << LimitDecision::TimeOverEnd;
    QTest::newRow("time control, practice never ends by time")
        << k << true << u""_s << u"1"_s << LimitDecision::PastLimitNoAction;
    QTest::newRow("neither") << k << false << u""_s << u"0"_s << LimitDecision::PastLimitNoAction;
    QTest::newRow("answer-only forced end")
        << a << false << u"1"_s << u"1"_s << LimitDecision::ForcedEnd;
    QTest::newRow("answer-only has no time-over end")
        << a << false << u"0"_s << u"1"_s << LimitDecision::PastLimitNoAction;
    QTest::newRow("compact has no limit")
        << ClockVariant::Compact << false << u"1"_s << u"1"_s << LimitDecision::None;
  }
  void limitDecision() {
    QFETCH(ClockVariant, variant);
    QFETCH(bool, practice);
    QFETCH(QString, forcedEnd);
    QFETCH(QString, timeControl);
    QFETCH(LimitDecision, decision);
    if (practice) MakePracticeFolder(60, 0);
    const QString folder = SetupFolderCode(u"1"_s, practice);
    SetTime(folder, u"all"_s, u"60"_s);
    SetBasic(SetupIniPath(folder), u"強制終了"_s, forcedEnd);
    SetBasic(SystemIniPath(), u"タイムコントロール"_s, timeControl);
    FakeClock clock;
    ExamClock exam(variant, u"1"_s, practice, &clock);
    exam.SetUp();
    exam.Start();
    clock.ms += 59 * kMinute + 59'999;
    QCOMPARE(exam.Tick().limit, LimitDecision::None);
    clock.ms += 1;
    QCOMPARE(exam.Tick().limit, decision);
  }

  // Without forced end or time control the display runs past the limit.
  void runsPastLimit() {
    SetTime(u"1"_s, u"all"_s, u"60"_s);
    SetBasic(SystemIniPath(), u"タイムコントロール"_s, u"0"_s);
    FakeClock clock;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false, &clock);
    exam.SetUp();
    exam.Start();
    clock.ms += 61 * kMinute;
    const ClockTick tick = exam.Tick();
    QCOMPARE(tick.timeProgress1 + tick.timeProgress2, u"61/60分"_s);
    QCOMPARE(tick.limit, LimitDecision::PastLimitNoAction);
  }

  // The practice reads and writes its times in system/Z<PartCode>/setup.ini.
  void practiceUsesItsOwnSetup() {
    MakePracticeFolder(7, 3);
    FakeClock clock;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, true, &clock);
    QCOMPARE(exam.SetupFolderCode(), u"Z1"_s);
    exam.SetUp();
    QCOMPARE(exam.TotalMinutes, 7);
    QCOMPARE(exam.ElapsedMinutes, 3);
    exam.Start();
    clock.ms += kMinute;
    QCOMPARE(exam.Tick().timeProgress1, u" 4/"_s);
    QCOMPARE(fx_->readIni(u"system/Z1/setup.ini"_s, u"試験時間"_s, u"now"_s), u"4"_s);
    QCOMPARE(fx_->readIni(u"system/1/setup.ini"_s, u"試験時間"_s, u"now"_s), u"0"_s);
  }

  // The knowledge window's timer stays stopped after a time-over tick; a refused end re-reads
  // the extended limit and the stored minutes and runs the clock again.
  void timeOverAndRefusedEnd() {
    SetTime(u"1"_s, u"all"_s, u"60"_s);
    FakeClock clock;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false, &clock);
    QList<LimitDecision> seen;
    connect(&exam, &ExamClock::Ticked, this, [&](const ClockTick& tick) {
      QVERIFY(!exam.IsRunning());  // no overlap while the window handles the tick
      seen << tick.limit;
      if (tick.limit == LimitDecision::TimeOverEnd) exam.BeginTimeOver();
    });
    exam.SetUp();
    exam.Start();
    clock.ms += 59 * kMinute;
    exam.ShikenTimerTimer();
    QVERIFY(exam.IsRunning());
    clock.ms += kMinute;
    exam.ShikenTimerTimer();
    QCOMPARE(seen, (QList<LimitDecision>{LimitDecision::None, LimitDecision::TimeOverEnd}));
    QVERIFY(exam.TimeOver);
    QVERIFY(!exam.IsRunning());
    QVERIFY(Log().contains(u"QZMain：試験時間終了処理\r\n"_s));

    // The proctor extends by 10 minutes in the confirmation; the candidate goes on.
    SetTime(u"1"_s, u"add"_s, u"10"_s);
    clock.ms += 5 * kMinute;  // the confirmation was open for a while
    exam.Restart();
    exam.EndTimeOver();
    QVERIFY(!exam.TimeOver);
    QVERIFY(exam.IsRunning());
    QCOMPARE(exam.TotalMinutes, 70);
    const ClockTick tick = exam.Tick();
    QCOMPARE(tick.timeProgress1 + tick.timeProgress2, u"60/70分"_s);
    QCOMPARE(tick.limit, LimitDecision::None);
  }

  // The other windows restart their timer after every tick.
  void answerOnlyRestartsAlways() {
    SetTime(u"1"_s, u"all"_s, u"1"_s);
    FakeClock clock;
    ExamClock exam(ClockVariant::AnswerOnly, u"1"_s, false, &clock);
    exam.SetUp();
    exam.Start();
    clock.ms += 2 * kMinute;
    exam.ShikenTimerTimer();
    QVERIFY(exam.IsRunning());
  }

  void rereadTotalAfterNotes() {
    FakeClock clock;
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false, &clock);
    exam.SetUp();
    QCOMPARE(exam.TotalMinutes, 50);
    SetTime(u"1"_s, u"add"_s, u"15"_s);
    exam.RereadTotal();
    QCOMPARE(exam.TotalMinutes, 65);
  }

  void compactDisplay() {
    SetTime(u"1"_s, u"now"_s, u"119"_s);
    FakeClock clock;
    ExamClock exam(ClockVariant::Compact, u"1"_s, false, &clock);
    exam.SetUp();
    QCOMPARE(exam.InitialTimeProgress1(), u"0 分"_s);
    exam.Start();
    clock.ms += kMinute;
    const ClockTick tick = exam.Tick();
    QCOMPARE(tick.timeProgress1, u"120 分"_s);
    QVERIFY(tick.timeProgress2.isEmpty());
  }

  void recordForcedEnd_data() {
    QTest::addColumn<bool>("debugMode");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("normalEnd");
    QTest::newRow("exam") << false << u"0"_s << u"E"_s;
    QTest::newRow("debug") << true << u"0"_s << u""_s;
    QTest::newRow("sample exam") << false << u"1"_s << u""_s;
  }
  void recordForcedEnd() {
    QFETCH(bool, debugMode);
    QFETCH(QString, sample);
    QFETCH(QString, normalEnd);
    SetBasic(SystemIniPath(), u"サンプル問題"_s, sample);
    ExamClock exam(ClockVariant::Knowledge, u"1"_s, false);
    exam.RecordForcedEnd(debugMode);
    QCOMPARE(fx_->readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s), normalEnd);
  }
};

EXAMORA_TEST(TestExamClock)
#include "tst_examclock.moc"
