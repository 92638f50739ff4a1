// SIGKILL crash harness for the knowledge window's answers.
//
// With "answer-only" the part is a web-style one (受験タイプ "3") and the child runs the
// answer-only window TfrmQZMain3 instead: the same clicks, kills and checks.
//
// The harness builds a fixture installation with one knowledge part, then runs the real
// TfrmQZMain in a child process (this executable with --child), which clicks answers through
// the real radio buttons at a steady rate and reports every click on stdout. The harness kills
// the child with SIGKILL at a random moment (mostly while answering, sometimes during set-up),
// checks the files the window leaves behind and starts the next child on the same
// installation. After every kill:
// - a.csv holds one complete record of this candidate;
// - that record is the state after every click the child finished, plus at most the single
//   click that was in flight when it died;
// - the restarted window shows exactly the recorded answers;
// - setup.ini and shiken.ini parse with every original key, and "now" never goes backwards.
//
// Usage: examora_crash [cycles] [answer-only]   (default: EXAMORA_CRASH_CYCLES, else 20)
// Prints "cycles N, worst loss K click(s)" and exits 0 when every check held.

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "Fixture.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/AnswerRecord.h"
#include "data/IniFile.h"
#include "exam/QZMain.h"
#include "exam/QZMain3.h"
#include "exam/model/ExamClock.h"

using namespace examora;

namespace {

// Sheet rows of the fixture's part 1 ({2, 3, 4} sub-questions): a heading row before each
// question, so the sub-questions sit on rows 2-3, 5-7 and 9-12.
constexpr int kRows[] = {2, 3, 5, 6, 7, 9, 10, 11, 12};
constexpr int kAnswers = 9;
constexpr int kChoices = 4;
constexpr int kExamMinutes = 999;
// Exam minutes per real second in the child, so that "now" is rewritten every tick and the
// kills land among those writes too.
constexpr int kClockSpeed = 60;
constexpr int kClickIntervalMs = 20;

const QString kPart = QStringLiteral("1");
const QString kVenue = QStringLiteral("01234");
const QString kCandidate = QStringLiteral("1001");
const QString kAnswerOnly = QStringLiteral("answer-only");

// Click n of the whole run: rows in turn, the choice moving on after each pass, so that every
// click changes the record.
int RowIndexOf(qint64 n) {
  return int(n % kAnswers);
}
int ChoiceOf(qint64 n) {
  return int(n / kAnswers % kChoices) + 1;
}

// The answers after the first `clicks` clicks of the run.
QStringList StateAfter(qint64 clicks) {
  QStringList answers(kAnswers);
  const qint64 from = qMax<qint64>(0, clicks - kAnswers);  // older clicks are overwritten
  for (qint64 n = from; n < clicks; ++n) answers[RowIndexOf(n)] = QString::number(ChoiceOf(n));
  return answers;
}

// The steady clock running kClockSpeed times faster.
struct FastClock final : ClockSource {
  qint64 MonotonicMs() const override { return SteadyClockSource().MonotonicMs() * kClockSpeed; }
};

void Say(const QByteArray& line) {
  std::fputs(line.constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// ---- The child: the real window, answering until it is killed ------------------------------

template <typename Window>
int RunChild(const QString& root, qint64 firstClick) {
  SetExeFolder(root);
  FastClock clock;
  Window w(nullptr, &clock);
  w.SetPart(kPart, true);
  w.VenueCode = kVenue;
  w.CandidateNumber = kCandidate;
  w.setGeometry(0, 0, 1024, 768);
  w.show();
  QDeadlineTimer deadline(60000);
  while (w.FirstActivation && !deadline.hasExpired()) Wait(10);
  if (w.FirstActivation) {
    Say("error window never activated");
    return 2;
  }
  QStringList shown;
  for (int row : kRows) {
    QString answer;
    for (int c = 1; c <= kChoices; ++c)
      if (w.RadioButton(row, c)->isChecked()) answer = QString::number(c);
    shown << answer;
  }
  Say(QByteArray("shown ") + shown.join(u',').toLatin1());
  // Stops on its own should the harness never kill it.
  for (qint64 n = firstClick; n < firstClick + 100000; ++n) {
    Say(QByteArray("clicking ") + QByteArray::number(n));
    w.RadioButton(kRows[RowIndexOf(n)], ChoiceOf(n))->click();
    Say(QByteArray("clicked ") + QByteArray::number(n));
    Wait(kClickIntervalMs);
  }
  return 0;
}

// ---- The harness ---------------------------------------------------------------------------

struct ChildReport {
  std::optional<QStringList> shown;  // what the restarted window showed
  qint64 lastBegun = -1;             // last "clicking n"
  qint64 lastDone = -1;              // last "clicked n"
  QByteArray error;
};

void Parse(const QByteArray& line, ChildReport& report) {
  if (line.startsWith("shown ")) {
    report.shown = QString::fromLatin1(line.mid(6)).split(u',');
  } else if (line.startsWith("clicking ")) {
    report.lastBegun = line.mid(9).toLongLong();
  } else if (line.startsWith("clicked ")) {
    report.lastDone = line.mid(8).toLongLong();
  } else if (line.startsWith("error ")) {
    report.error = line;
  }
}

class Harness {
 public:
  explicit Harness(bool answerOnly) : answerOnly_(answerOnly) {
    fx_.knowledgePart(kPart, {2, 3, 4}, kChoices, kExamMinutes);
    if (answerOnly_) {
      QString setup = FromCp932(fx_.readBytes(QStringLiteral("system/1/setup.ini")));
      setup.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
          .replace(QStringLiteral("受験タイプ=1"), QStringLiteral("受験タイプ=3"));
      fx_.writeIni(QStringLiteral("system/1/setup.ini"), setup);
    }
    originalShiken_ = IniFile::Parse(fx_.readBytes(QStringLiteral("system/shiken.ini")));
    originalSetup_ = IniFile::Parse(fx_.readBytes(QStringLiteral("system/1/setup.ini")));
  }

  bool Ready(QString* error) const {
    *error = fx_.error();
    return fx_.ok();
  }

  // One start, kill and check. Returns false with error_ set when a check fails.
  bool Cycle(int cycle) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QStringList childArgs{QStringLiteral("--child"), fx_.root(), QString::number(recorded_)};
    if (answerOnly_) childArgs << kAnswerOnly;
    child.start(QCoreApplication::applicationFilePath(), childArgs);
    if (!child.waitForStarted(10000)) return Fail(QStringLiteral("the child did not start"));

    // Where this cycle's kill aims: one cycle in eight at a random moment of the set-up; the
    // others after 0 to 120 clicks (a few seconds, so that the clock writes "now" too), half
    // of them just after a click began (to catch it in flight) and half at a random point
    // of the pause after a click.
    QRandomGenerator* random = QRandomGenerator::global();
    const bool duringSetUp = random->bounded(8) == 0 && setUpMs_ > 0;
    const bool inClick = random->bounded(2) == 0;
    const qint64 killAtMs = duringSetUp ? random->bounded(setUpMs_) : -1;
    const qint64 target = recorded_ + random->bounded(121);
    const int extraUs = inClick ? random->bounded(3000) : random->bounded(kClickIntervalMs * 1000);

    ChildReport report;
    QByteArray pending;
    QByteArray errors;  // the child's last stderr bytes, read as they come so it never blocks
    QElapsedTimer started;
    started.start();
    bool shownSeen = false;
    for (;;) {
      if (child.state() == QProcess::NotRunning) {
        return Fail(QStringLiteral("the child ended on its own: %1 %2")
                        .arg(QString::fromLocal8Bit(report.error),
                             QString::fromLocal8Bit(errors.append(child.readAllStandardError()))));
      }
      if (started.elapsed() > 90000) return Fail(QStringLiteral("the child stalled"));
      child.waitForReadyRead(2);
      pending += child.readAllStandardOutput();
      errors.append(child.readAllStandardError());
      errors = errors.right(4000);
      qsizetype eol;
      while ((eol = pending.indexOf('\n')) >= 0) {
        Parse(pending.left(eol), report);
        pending.remove(0, eol + 1);
      }
      if (report.shown && !shownSeen) {
        shownSeen = true;
        // Learn how long a set-up takes, for the kills that aim at it.
        setUpMs_ = qMax(setUpMs_, started.elapsed());
      }
      if (duringSetUp ? started.elapsed() >= killAtMs
                      : (inClick ? report.lastBegun : report.lastDone) >= target) {
        break;
      }
    }
    if (!duringSetUp) std::this_thread::sleep_for(std::chrono::microseconds(extraUs));
    child.kill();  // SIGKILL
    child.waitForFinished(10000);
    pending += child.readAllStandardOutput();
    for (const QByteArray& line : pending.split('\n')) Parse(line, report);

    const QString where = QStringLiteral("cycle %1: ").arg(cycle);
    // What the restarted window showed must be the record it found.
    if (report.shown && *report.shown != StateAfter(recorded_))
      return Fail(where + QStringLiteral("the window showed %1, the file held %2")
                              .arg(report.shown->join(u','), StateAfter(recorded_).join(u',')));

    const qint64 begun = qMax(recorded_, report.lastBegun + 1);
    const qint64 done = qMax(recorded_, report.lastDone + 1);
    const std::optional<qint64> found = RecordedClicks(begun);
    if (!found) return false;
    if (*found < done)
      return Fail(where + QStringLiteral("%1 finished click(s) missing from a.csv (%2 finished)")
                              .arg(done - *found)
                              .arg(done));
    worstLoss_ = qMax(worstLoss_, begun - *found);
    if (begun > done) ++inFlightKills_;
    if (!report.shown) ++setUpKills_;
    recorded_ = *found;
    return CheckIniFiles(where);
  }

  qint64 WorstLoss() const { return worstLoss_; }
  int InFlightKills() const { return inFlightKills_; }
  int SetUpKills() const { return setUpKills_; }
  int Now() const { return lastNow_; }
  qint64 Clicks() const { return recorded_; }
  QString Error() const { return error_; }

 private:
  bool Fail(const QString& text) {
    error_ = text;
    return false;
  }

  // The number of clicks whose result a.csv holds: the latest state, at most `begun` clicks,
  // that equals the record.
  std::optional<qint64> RecordedClicks(qint64 begun) {
    const QByteArray bytes = fx_.readBytes(QStringLiteral("system/1/a.csv"));
    if (begun == 0 && (bytes.isEmpty() || bytes == "\r\n")) return 0;
    if (!bytes.endsWith("\r\n") || bytes.count("\r\n") != 1) {
      Fail(QStringLiteral("a.csv is not one complete line: ") + QString::fromLatin1(bytes.toHex()));
      return std::nullopt;
    }
    const AnswerRecord record = ParseAnswerLine(FromCp932(bytes.chopped(2)));
    if (record.gradeCode != QStringLiteral("T3") || record.partCode != kPart ||
        record.venueCode != kVenue || record.candidateNumber != kCandidate ||
        record.answers.size() != kAnswers) {
      Fail(QStringLiteral("a.csv holds a foreign record: ") + FromCp932(bytes));
      return std::nullopt;
    }
    for (qint64 j = begun; j >= 0 && j >= begun - 4 * kAnswers * kChoices; --j) {
      if (record.answers == StateAfter(j)) return j;
    }
    Fail(QStringLiteral("a.csv holds answers no click sequence up to click %1 produced: %2")
             .arg(begun)
             .arg(FromCp932(bytes)));
    return std::nullopt;
  }

  // Both INI files read completely: a line break at the end, every section and key the
  // installation had, the values the window never writes unchanged, and "now" not smaller
  // than after the previous kill.
  bool CheckIniFiles(const QString& where) {
    struct Check {
      QString path;
      const IniFile* original;
      QStringList written;  // "section/key" the window writes
    };
    const Check checks[] = {
        {QStringLiteral("system/shiken.ini"),
         &originalShiken_,
         {QStringLiteral("試験情報/試験日"), QStringLiteral("試験情報/試験時間")}},
        {QStringLiteral("system/1/setup.ini"),
         &originalSetup_,
         {QStringLiteral("基本情報/試験開始"), QStringLiteral("試験時間/now")}},
    };
    for (const Check& check : checks) {
      const QByteArray bytes = fx_.readBytes(check.path);
      if (!bytes.endsWith("\r\n")) return Fail(where + check.path + QStringLiteral(" is cut off"));
      const IniFile ini = IniFile::Parse(bytes);
      for (const QString& section : check.original->Sections()) {
        for (const QString& key : check.original->Keys(section)) {
          if (!ini.HasKey(section, key))
            return Fail(where + check.path + QStringLiteral(" lost [%1] %2").arg(section, key));
          if (!check.written.contains(section + u'/' + key) &&
              ini.Value(section, key) != check.original->Value(section, key)) {
            return Fail(where + check.path + QStringLiteral(" changed [%1] %2").arg(section, key));
          }
        }
      }
    }
    const IniFile setup = IniFile::Parse(fx_.readBytes(QStringLiteral("system/1/setup.ini")));
    bool numeric = false;
    const int now = setup.Value(QStringLiteral("試験時間"), QStringLiteral("now")).toInt(&numeric);
    if (!numeric) return Fail(where + QStringLiteral("\"now\" is not a number"));
    if (now < lastNow_)
      return Fail(where + QStringLiteral("\"now\" went back from %1 to %2").arg(lastNow_).arg(now));
    lastNow_ = now;
    // A very long series winds the clock back between two children (no child runs now), so
    // that the time limit and its time-over screens never end the series.
    if (now > kExamMinutes - 100) {
      const WriteResult reset =
          WriteIniValue(fx_.path(QStringLiteral("system/1/setup.ini")), QStringLiteral("試験時間"),
                        QStringLiteral("now"), QStringLiteral("0"));
      if (!reset) return Fail(where + QStringLiteral("resetting \"now\": ") + reset.error);
      lastNow_ = 0;
    }
    const IniFile shiken = IniFile::Parse(fx_.readBytes(QStringLiteral("system/shiken.ini")));
    const QString date = shiken.Value(QStringLiteral("試験情報"), QStringLiteral("試験日"));
    if (!examDate_.isEmpty() && date != examDate_)
      return Fail(where +
                  QStringLiteral("the exam date changed from %1 to %2").arg(examDate_, date));
    examDate_ = date;
    return true;
  }

  bool answerOnly_;
  test::FixtureInstallation fx_;
  IniFile originalShiken_;
  IniFile originalSetup_;
  qint64 recorded_ = 0;  // clicks the answer file holds after the last kill
  qint64 worstLoss_ = 0;
  qint64 setUpMs_ = 0;
  int lastNow_ = 0;
  int inFlightKills_ = 0;  // kills between "clicking" and "clicked"
  int setUpKills_ = 0;     // kills before the window showed its answers
  QString examDate_;
  QString error_;
};

}  // namespace

int main(int argc, char** argv) {
  // The same engine settings as the test binaries: no sandbox and no GPU in containers.
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();

  const bool answerOnly = args.contains(kAnswerOnly);
  if (args.size() >= 4 && args.at(1) == QStringLiteral("--child")) {
    return answerOnly ? RunChild<TfrmQZMain3>(args.at(2), args.at(3).toLongLong())
                      : RunChild<TfrmQZMain>(args.at(2), args.at(3).toLongLong());
  }

  int cycles = qEnvironmentVariableIntValue("EXAMORA_CRASH_CYCLES");
  if (args.size() >= 2 && args.at(1) != kAnswerOnly) cycles = args.at(1).toInt();
  if (cycles <= 0) cycles = 20;

  Harness harness(answerOnly);
  QString error;
  if (!harness.Ready(&error)) {
    std::fprintf(stderr, "fixture: %s\n", qPrintable(error));
    return 2;
  }
  int cycle = 0;
  bool ok = true;
  for (; cycle < cycles && ok; ++cycle) ok = harness.Cycle(cycle + 1);
  std::printf("cycles %d, worst loss %lld click(s)\n", cycle,
              static_cast<long long>(harness.WorstLoss()));
  std::printf("(%lld clicks recorded, %d kills during a click, %d during set-up, now=%d)\n",
              static_cast<long long>(harness.Clicks()), harness.InFlightKills(),
              harness.SetUpKills(), harness.Now());
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", qPrintable(harness.Error()));
    return 1;
  }
  return 0;
}
