#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <unistd.h>

#include "Fixture.h"
#include "PartExecutables.h"
#include "TestRegistry.h"
#include "admin/AdminCommand.h"
#include "admin/AdminReport.h"
#include "admin/CandidateState.h"
#include "admin/InstallationCheck.h"
#include "common/Cp932.h"
#include "platform/NamedMutex.h"

using namespace examora;
using namespace examora::admin;
using namespace Qt::StringLiterals;
using examora::test::FixtureInstallation;

namespace {

// Started with this variable, the test binary takes the named mutex, says so and waits to be
// killed: a part of the installation running in another process.
constexpr char kAdminHoldVariable[] = "EXAMORA_ADMIN_TEST_HOLD_MUTEX";

[[maybe_unused]] const bool adminHolderProcess = [] {
  const char* name = std::getenv(kAdminHoldVariable);
  if (!name) return false;
  const NamedMutexAttempt attempt = NamedMutex::TryAcquire(name);
  std::printf("%s\n", attempt.Acquired() ? "held" : "not held");
  std::fflush(stdout);
  for (;;) ::pause();
}();

// Relative path -> hash of every file below root.
QMap<QString, QByteArray> AdminSnapshot(const QString& root) {
  QMap<QString, QByteArray> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
      files.insert(QDir(root).relativeFilePath(path),
                   QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
  }
  return files;
}

// Replaces text in a CP932 file (the first occurrence, which must exist).
void EditText(FixtureInstallation& f, const QString& rel, const QString& from, const QString& to) {
  QString text = FromCp932(f.readBytes(rel));
  QVERIFY2(text.contains(from), qPrintable(rel + u": no "_s + from));
  text.replace(text.indexOf(from), from.size(), to);
  f.writeFile(rel, ToCp932(text));
}

// The sample installation with a stand-in executable per part, as an operator lays it out.
// The program's lock is named after the executable alone, shared by every installation of the
// user: a test that takes the locks gives its parts names of their own (ownNames), so that it
// never meets another test, or another test run, starting the sample's parts.
void LayOutSample(FixtureInstallation& f, bool ownNames = false) {
  f.fromSample();
  if (ownNames) {
    static const QRegularExpression kName(u"部種名称=([^\\r]*)"_s);
    const QString suffix = QString::number(QCoreApplication::applicationPid());
    for (const QString& part : QDir(f.path(u"system"_s)).entryList({u"[0-9]*"_s}, QDir::Dirs)) {
      const QString rel = u"system/"_s + part + u"/setup.ini"_s;
      QString text = FromCp932(f.readBytes(rel));
      text.replace(kName, u"部種名称=\\1"_s + suffix);
      f.writeFile(rel, ToCp932(text));
    }
  }
  f.writeFile(u"stand-in"_s, "program");
  QString error;
  QVERIFY2(sample::WritePartExecutables(f.root(), f.path(u"stand-in"_s), &error),
           qPrintable(error));
  QFile::remove(f.path(u"stand-in"_s));
  QVERIFY2(f.ok(), qPrintable(f.error()));
}

// Sets 部数 whatever it was, so that a row does not depend on how many parts the sample has.
void SetPartCount(FixtureInstallation& f, int count) {
  const QString rel = u"system/system.ini"_s;
  QString text = FromCp932(f.readBytes(rel));
  static const QRegularExpression kLine(u"部数=\\d*"_s);
  QVERIFY(text.contains(kLine));
  text.replace(kLine, u"部数="_s + QString::number(count));
  f.writeFile(rel, ToCp932(text));
}

QStringList ProblemLines(const QString& root) {
  QStringList lines;
  for (const Problem& p : CheckInstallation(root).problems) lines << FormatProblem(p);
  return lines;
}

struct Output {
  QString out;
  QString err;
};

int Run(const QStringList& arguments, Output* output,
        const QDateTime& now = QDateTime(QDate(2026, 12, 9), QTime(18, 30, 5))) {
  return RunAdmin(arguments,
                  {[output](const QString& t) { output->out += t; },
                   [output](const QString& t) { output->err += t; }},
                  now);
}

// A candidate who answered part 1 halfway and ended part 2 by time-over.
void PlantCandidate(FixtureInstallation& f) {
  f.writeIni(u"system/shiken.ini"_s,
             u"[受験者情報]\n会場コード=12345\n受験番号=0007\n姓=山田\n名=太郎\n連携=2\n"
             "[試験情報]\n試験日=20261209\n試験時間=2026/12/09 10:00:00\n"_s);
  f.writeFile(u"system/1/a.csv"_s, "C2,1,12345,0007,3,,1, ,5\r\n");
  f.writeIni(u"system/1/log.txt"_s,
             u"以下のログを検出しました。\n\n2026/12/09\t10:00:00.000\tQZTP0020：開始\n"
             "2026/12/09\t10:12:31.250\tQZMain：解答状況ボタン押下\n\n"_s);
  f.writeIni(u"system/1/cpu.txt"_s, u"以下のログを検出しました。\n"_s);
  EditText(f, u"system/1/setup.ini"_s, u"試験開始=0"_s, u"試験開始=1"_s);
  EditText(f, u"system/1/setup.ini"_s, u"now=0"_s, u"now=12"_s);
  EditText(f, u"system/1/setup.ini"_s, u"幅=0"_s, u"幅=233"_s);
  EditText(f, u"system/2/setup.ini"_s, u"試験開始=0"_s, u"試験開始=1"_s);
  EditText(f, u"system/2/setup.ini"_s, u"正常終了="_s, u"正常終了=T"_s);
  EditText(f, u"system/2/setup.ini"_s, u"now=0"_s, u"now=41"_s);
  EditText(f, u"system/2/setup.ini"_s, u"add=0"_s, u"add=5"_s);
  f.writeIni(u"system/2/log.txt"_s,
             u"以下のログを検出しました。\n\n2026/12/09\t11:01:00.000\tQZMain2：終了\n"_s);
}

}  // namespace

class TestAdminCheck : public QObject {
  Q_OBJECT

 private slots:
  void sampleWithItsExecutablesPasses() {
    FixtureInstallation f;
    LayOutSample(f);
    const CheckResult result = CheckInstallation(f.root());
    QVERIFY2(result.problems.isEmpty(), qPrintable(ProblemLines(f.root()).join(u'\n')));
  }

  // Every kind of part the session controller runs passes when its files are complete: a
  // part is judged by the window it runs in.
  void eachKindOfPartPasses_data() {
    using Plant = std::function<void(FixtureInstallation&)>;
    QTest::addColumn<Plant>("plant");
    QTest::newRow("web practical part (type 3, compact window)") << Plant([](auto& f) {
      EditText(f, u"system/2/setup.ini"_s, u"受験タイプ=2"_s, u"受験タイプ=3"_s);
    });
    QTest::newRow("web knowledge part (type 3, answer-only window)") << Plant([](auto& f) {
      EditText(f, u"system/1/setup.ini"_s, u"受験タイプ=1"_s, u"受験タイプ=3"_s);
    });
    QTest::newRow("practical part with questions, no answer key") << Plant([](auto& f) {
      EditText(f, u"system/1/setup.ini"_s, u"試験区分=1"_s, u"試験区分=2"_s);
      f.removeFile(u"system/seito[1].ini"_s);
    });
    QTest::newRow("knowledge part outside a sample exam, no answer key") << Plant([](auto& f) {
      EditText(f, u"system/system.ini"_s, u"サンプル問題=1"_s, u"サンプル問題=0"_s);
      f.removeFile(u"system/seito[1].ini"_s);
    });
  }

  void eachKindOfPartPasses() {
    QFETCH(std::function<void(FixtureInstallation&)>, plant);
    FixtureInstallation f;
    LayOutSample(f);
    plant(f);
    const QStringList problems = ProblemLines(f.root());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
  }

  void eachPlantedFaultIsReported_data() {
    using Plant = std::function<void(FixtureInstallation&)>;
    QTest::addColumn<Plant>("plant");
    QTest::addColumn<QString>("expected");
    const QString setup1 = u"system/1/setup.ini"_s;
    QTest::newRow("system.ini missing")
        << Plant([](auto& f) { f.removeFile(u"system/system.ini"_s); })
        << u"system\\system.ini: missing"_s;
    QTest::newRow("部数 not a number") << Plant([](auto& f) {
      SetPartCount(f, 2);
      EditText(f, u"system/system.ini"_s, u"部数=2"_s, u"部数=二"_s);
    }) << u"system\\system.ini: [基本情報] 部数: not a number (\"二\")"_s;
    QTest::newRow("exam time missing")
        << Plant([=](auto& f) { EditText(f, setup1, u"all=30\r\n"_s, QString()); })
        << u"system\\1\\setup.ini: [試験時間] all: missing"_s;
    QTest::newRow("受験タイプ unknown")
        << Plant([=](auto& f) { EditText(f, setup1, u"受験タイプ=1"_s, u"受験タイプ=4"_s); })
        << u"system\\1\\setup.ini: [基本情報] 受験タイプ: \"4\" is not one of 1, 2, 3"_s;
    QTest::newRow("choice count missing for a page")
        << Plant([=](auto& f) { EditText(f, setup1, u"2-3=4\r\n"_s, QString()); })
        << u"system\\1\\setup.ini: [選択数] 2-3: missing: the paper has this sub-question"_s;
    QTest::newRow("choice count without a page")
        << Plant([=](auto& f) { EditText(f, setup1, u"3-4=4\r\n"_s, u"3-4=4\r\n3-5=4\r\n"_s); })
        << u"system\\1\\setup.ini: [選択数] 3-5: no page html\\q\\setsumon\\3-5 in system\\1"_s;
    QTest::newRow("six choices") << Plant([=](auto& f) {
      EditText(f, setup1, u"1-2=5"_s, u"1-2=6"_s);
    }) << u"system\\1\\setup.ini: [選択数] 1-2: 6 is outside 1 to 5"_s;
    QTest::newRow("no display mode") << Plant([=](auto& f) {
      EditText(f, setup1, u"全体=1"_s, u"全体=0"_s);
      EditText(f, setup1, u"問題別=1"_s, u"問題別=0"_s);
      EditText(f, setup1, u"設問別=1"_s, u"設問別=0"_s);
    }) << u"system\\1\\setup.ini: [基本情報] the exam window stops with \"表示方法が一つも選択されていません。\""_s;
    QTest::newRow("sub-question page gone") << Plant([](auto& f) {
      QDir(f.path(u"system/1/html/q/setsumon/2-3"_s)).removeRecursively();
    }) << u"system\\1\\setup.ini: [選択数] 2-3: no page html\\q\\setsumon\\2-3 in system\\1"_s;
    QTest::newRow("answer-only paper over 100 rows")
        << Plant([=](auto& f) {
             EditText(f, setup1, u"受験タイプ=1"_s, u"受験タイプ=3"_s);
             QString keys;
             for (int s = 5; s <= 100; ++s) keys += u"3-%1=4\r\n"_s.arg(s);
             EditText(f, setup1, u"3-4=4\r\n"_s, u"3-4=4\r\n"_s + keys);
           })
        << u"system\\1\\setup.ini: [選択数] the answer sheet cannot hold the paper: "
           "E11問題数が多すぎるため、解答欄を作成できません。"_s;
    QTest::newRow("answer key one section short") << Plant([](auto& f) {
      EditText(f, u"system/seito[1].ini"_s, u"[3_4]"_s, u"[3_4x]"_s);
    }) << u"system\\seito[1].ini: [3_4x] section 9 of the key should be 3_4: answers are marked by position"_s;
    QTest::newRow("answer key names a missing choice") << Plant([](auto& f) {
      EditText(f, u"system/seito[1].ini"_s, u"[1_1]\r\n正答=01000"_s, u"[1_1]\r\n正答=00001"_s);
    }) << u"system\\seito[1].ini: [1_1] 正答: \"00001\" names choice 5, but [選択数] 1-1 gives 4 choices"_s;
    QTest::newRow("answer key missing")
        << Plant([](auto& f) { f.removeFile(u"system/seito[1].ini"_s); })
        << u"system\\seito[1].ini: missing"_s;
    QTest::newRow("part executable missing") << Plant([](auto& f) {
      SetPartCount(f, 2);
      f.removeFile(u"[2]実技.exe"_s);
    }) << u"[2]実技.exe: missing: part 2 (部数 2, 部種名称 \"実技\") has no executable"_s;
    QTest::newRow("executable beyond 部数") << Plant([](auto& f) {
      SetPartCount(f, 2);
      f.writeFile(u"[5]実技.exe"_s, "program");
    }) << u"[5]実技.exe: part 5 is not a part of this installation (部数 is 2)"_s;
    QTest::newRow("executable named after another part") << Plant([](auto& f) {
      SetPartCount(f, 9);
      f.writeFile(u"[9]実技.exe"_s, "program");
    }) << u"[9]実技.exe: there is no folder system\\9 for its part"_s;
    QTest::newRow("part folder missing")
        << Plant([](auto& f) { SetPartCount(f, 9); })
        << u"system\\9: missing: 部数 is 9, so part 9 needs this folder"_s;
    QTest::newRow("picture missing")
        << Plant([](auto& f) { f.removeFile(u"system/Image/procedure07.jpg"_s); })
        << u"system\\Image\\procedure07.jpg: missing picture"_s;
    QTest::newRow("picture the probe cannot size")
        << Plant([](auto& f) { f.writeFile(u"system/Image/KyuTopImage.png"_s, "not a png"); })
        << u"system\\Image\\KyuTopImage.png: the picture probe refuses it: "
           "system\\Image\\KyuTopImage.png 不正な PNG ファイルです。"_s;
    QTest::newRow("notes page links into the question folder")
        << Plant([](auto& f) {
             f.writePage(u"system/1/html/c/index2.html"_s,
                         u"<p>\n<a href=\"../q/all/index.html\">問題</a></p>"_s);
           })
        << u"system\\1\\html\\c\\index2.html:11: links to \"../q/all/index.html\", outside "
           "system\\1\\html\\c, which the browser refuses"_s;
    QTest::newRow("question page links to the answer key")
        << Plant([](auto& f) {
             f.writePage(u"system/1/html/q/all/index.html"_s,
                         u"<a href='..\\..\\..\\..\\seito[1].ini'>key</a>"_s);
           })
        << u"system\\1\\html\\q\\all\\index.html:10: links to \"..\\..\\..\\..\\seito[1].ini\", "
           "outside system\\1\\html, which the browser refuses"_s;
    QTest::newRow("page loads a remote script")
        << Plant([](auto& f) {
             f.writePage(u"system/Z1/html/q/all/index.html"_s,
                         u"<script src=\"https://cdn.example.com/x.js\"></script>"_s);
           })
        << u"system\\Z1\\html\\q\\all\\index.html:10: links to \"https://cdn.example.com/x.js\", "
           "outside system\\Z1\\html, which the browser refuses"_s;
    QTest::newRow("page links to a missing file") << Plant([](auto& f) {
      f.writePage(u"system/2/html/c/index1.html"_s, u"<img src=\"logo.png\">"_s);
    }) << u"system\\2\\html\\c\\index1.html:10: links to \"logo.png\", which does not exist"_s;
    QTest::newRow("byte-order mark")
        << Plant(
               [](auto& f) { f.writeFile(u"system/2/update_check.ini"_s, "\xEF\xBB\xBF[x]\r\n"); })
        << u"system\\2\\update_check.ini:1: starts with a UTF-8 byte-order mark; exam files are "
           "CP932 without one"_s;
    QTest::newRow("invalid CP932 on line 3") << Plant([](auto& f) {
      f.writeFile(u"system/shiken.ini"_s, "[x]\r\na=1\r\nb=\x85\x40\r\n");
    }) << u"system\\shiken.ini:3: bytes that are not CP932 text"_s;
  }

  void eachPlantedFaultIsReported() {
    QFETCH(std::function<void(FixtureInstallation&)>, plant);
    QFETCH(QString, expected);
    FixtureInstallation f;
    LayOutSample(f);
    plant(f);
    const QStringList problems = ProblemLines(f.root());
    QVERIFY2(problems.contains(expected), qPrintable(problems.join(u'\n')));
  }

  // Bytes against the code page's own table: defined codes pass, undefined ones and broken
  // pairs give their line.
  void invalidCp932Line_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::newRow("ASCII and kana") << QByteArray("a=1\r\nb=\x82\xA0\xB1\r\n") << 0;
    QTest::newRow("circled one (NEC row 13)") << QByteArray("\x87\x40") << 0;
    QTest::newRow("IBM extension") << QByteArray("x\n\xFA\x40") << 0;
    QTest::newRow("middle dot itself") << QByteArray("\x81\x45") << 0;
    QTest::newRow("unassigned row 0x85") << QByteArray("a\r\nb\r\n\x85\x40") << 3;
    QTest::newRow("unassigned lead 0xEB") << QByteArray("\xEB\x40") << 1;
    QTest::newRow("lead byte at the end") << QByteArray("a\n\x82") << 2;
    QTest::newRow("lead byte before a line break") << QByteArray("\x82\r\n") << 1;
    QTest::newRow("0xA0") << QByteArray("\n\n\xA0") << 3;
    QTest::newRow("0xFD") << QByteArray("\xFD") << 1;
  }

  void invalidCp932Line() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QCOMPARE(FirstInvalidCp932Line(bytes), line);
  }
};
EXAMORA_TEST(TestAdminCheck)

class TestAdminState : public QObject {
  Q_OBJECT

 private slots:
  void statusShowsEachPart() {
    FixtureInstallation f;
    LayOutSample(f);
    PlantCandidate(f);
    // Part 1's paper has 2 + 3 + 4 sub-questions; the line answers 3, 1 and 5 among them.
    // The parts the sample may have after part 2 are not this test's business.
    QCOMPARE(StatusText(ReadInstallationState(f.root())).split(u'\n').mid(0, 3).join(u'\n') + u'\n',
             u"candidate: 会場コード 12345, 受験番号 0007, 山田 太郎\n"
             "part 1 知識: started, not ended, 12/30 min, answers 3/9, last log: 2026/12/09 "
             "10:12:31.250 QZMain：解答状況ボタン押下\n"
             "part 2 実技: started, ended \"T\", 41/45 min, answers -, last log: 2026/12/09 "
             "11:01:00.000 QZMain2：終了\n"_s);
    Output output;
    QCOMPARE(Run({u"status"_s, f.root(), u"--json"_s}, &output), kExitClean);
    const QJsonObject json = QJsonDocument::fromJson(output.out.toUtf8()).object();
    const QJsonObject part1 = json[u"parts"_s][0].toObject();
    QCOMPARE(part1[u"answered"_s].toInt(), 3);
    QCOMPARE(part1[u"questions"_s].toInt(), 9);
    QVERIFY(json[u"parts"_s][1][u"answered"_s].isNull());
    QCOMPARE(json[u"candidate"_s][u"candidateNumber"_s].toString(), u"0007"_s);
  }

  void resetIsRefusedWhileAPartRuns() {
    FixtureInstallation f;
    LayOutSample(f, true);
    const QString part2 =
        u"[2]実技"_s + QString::number(QCoreApplication::applicationPid()) + u".exe"_s;
    PlantCandidate(f);
    QProcess holder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kAdminHoldVariable), part2);
    holder.setProcessEnvironment(environment);
    holder.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));

    const auto before = AdminSnapshot(f.root());
    Output output;
    QCOMPARE(Run({u"reset"_s, f.root(), u"--part"_s, u"1"_s}, &output), kExitProblems);
    QVERIFY2(output.err.contains(part2 + u" is running"_s), qPrintable(output.err));
    QCOMPARE(AdminSnapshot(f.root()), before);
    QVERIFY(!f.exists(u"system/backup"_s));

    holder.kill();
    QVERIFY(holder.waitForFinished());
    QCOMPARE(Run({u"reset"_s, f.root()}, &output), kExitClean);
  }

  void resetMovesTheCandidateAsideAndClearsTheState() {
    FixtureInstallation f;
    LayOutSample(f, true);
    PlantCandidate(f);
    const QByteArray answers = f.readBytes(u"system/1/a.csv"_s);
    const QByteArray shiken = f.readBytes(u"system/shiken.ini"_s);
    const QByteArray setup2 = f.readBytes(u"system/2/setup.ini"_s);

    // One part first: part 1's files and keys stay.
    Output output;
    QCOMPARE(Run({u"reset"_s, f.root(), u"--part"_s, u"2"_s}, &output), kExitClean);
    const QString first = u"system/backup/20261209-183005/"_s;
    QCOMPARE(f.readBytes(first + u"2/setup.ini"_s), setup2);
    QVERIFY(f.exists(first + u"2/log.txt"_s));
    QCOMPARE(f.readIni(u"system/2/setup.ini"_s, u"基本情報"_s, u"正常終了"_s), QString());
    QCOMPARE(f.readIni(u"system/2/setup.ini"_s, u"試験時間"_s, u"add"_s), u"0"_s);
    QCOMPARE(f.readBytes(u"system/1/a.csv"_s), answers);
    QCOMPARE(f.readBytes(u"system/shiken.ini"_s), shiken);

    // Then the whole folder, in the same second: a backup folder of its own.
    QCOMPARE(Run({u"reset"_s, f.root()}, &output), kExitClean);
    const QString second = u"system/backup/20261209-183005-2/"_s;
    QCOMPARE(f.readBytes(second + u"1/a.csv"_s), answers);
    QCOMPARE(f.readBytes(second + u"shiken.ini"_s), shiken);
    QVERIFY(f.exists(second + u"1/log.txt"_s));
    QVERIFY(f.exists(second + u"1/cpu.txt"_s));
    QVERIFY(!f.exists(u"system/1/a.csv"_s));
    const QString setup1 = u"system/1/setup.ini"_s;
    QCOMPARE(f.readIni(setup1, u"基本情報"_s, u"試験開始"_s), u"0"_s);
    QCOMPARE(f.readIni(setup1, u"試験時間"_s, u"now"_s), u"0"_s);
    QCOMPARE(f.readIni(setup1, u"画面情報"_s, u"幅"_s), u"0"_s);
    QCOMPARE(f.readIni(setup1, u"選択数"_s, u"1-1"_s), u"4"_s);  // content untouched
    // The proctor's link mode belongs to the PC, not to the candidate.
    QCOMPARE(f.readIni(u"system/shiken.ini"_s, u"受験者情報"_s, u"連携"_s), u"2"_s);
    QCOMPARE(f.readIni(u"system/shiken.ini"_s, u"受験者情報"_s, u"受験番号"_s), QString());

    // A clean folder has nothing to move: no empty backup folders pile up.
    QCOMPARE(Run({u"reset"_s, f.root()}, &output), kExitClean);
    QCOMPARE(QDir(f.path(u"system/backup"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(),
             2);
  }

  void collectGathersTheCandidateAndNeverOverwrites() {
    FixtureInstallation f;
    LayOutSample(f);
    PlantCandidate(f);
    QTemporaryDir stick;
    Output output;
    QCOMPARE(Run({u"collect"_s, f.root(), stick.path()}, &output), kExitClean);
    const QDir collected(stick.path() + u"/12345_0007"_s);
    for (const QString& rel :
         {u"shiken.ini"_s, u"1/a.csv"_s, u"1/log.txt"_s, u"1/cpu.txt"_s, u"2/log.txt"_s}) {
      QFile copy(collected.filePath(rel));
      QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(rel));
      QCOMPARE(copy.readAll(), f.readBytes(u"system/"_s + rel));
    }
    QVERIFY2(output.err.contains(QRegularExpression(u"\\[\\d+/\\d+\\] system\\\\2\\\\cpu.txt\n"_s)),
             qPrintable(output.err));

    // The same candidate again (or another PC with the same number): refused, nothing touched.
    QFile::remove(collected.filePath(u"1/a.csv"_s));
    const auto before = AdminSnapshot(stick.path());
    Output again;
    QCOMPARE(Run({u"collect"_s, f.root(), stick.path()}, &again), kExitProblems);
    QVERIFY2(again.err.contains(u"exists already; nothing was copied"_s), qPrintable(again.err));
    QCOMPARE(AdminSnapshot(stick.path()), before);
    QCOMPARE(QDir(stick.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"12345_0007"_s});
  }

  void collectRefusesANumberThatLeavesTheFolder() {
    FixtureInstallation f;
    LayOutSample(f);
    f.writeIni(u"system/shiken.ini"_s, u"[受験者情報]\n会場コード=..\n受験番号=/x\n"_s);
    QTemporaryDir stick;
    Output output;
    QCOMPARE(Run({u"collect"_s, f.root(), stick.path() + u"/room"_s}, &output), kExitProblems);
    QVERIFY(QDir(stick.path()).isEmpty());
  }

  // The real executable: exit status and what an operator reads.
  void realToolExitStatus_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("plantFault");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("clean") << QStringList{u"check"_s} << false << 0 << u": no problems found"_s;
    QTest::newRow("fault") << QStringList{u"check"_s} << true << 1 << u"1 problem(s) found"_s;
    QTest::newRow("unknown command") << QStringList{u"fix"_s} << false << 2 << QString();
    QTest::newRow("bad part") << QStringList{u"reset"_s, u"--part"_s, u"x"_s} << false << 2
                              << QString();
  }

  void realToolExitStatus() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, plantFault);
    QFETCH(int, status);
    QFETCH(QString, lastLine);
    FixtureInstallation f;
    LayOutSample(f);
    if (plantFault) f.removeFile(u"system/Image/bg.jpg"_s);
    arguments.insert(1, f.root());
    QProcess tool;
    tool.start(QStringLiteral(EXAMORA_ADMIN_EXECUTABLE), arguments);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), status);
    const QStringList lines =
        QString::fromLocal8Bit(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (lastLine.isEmpty())
      QVERIFY(QString::fromLocal8Bit(tool.readAllStandardError()).contains(u"usage:"_s));
    else
      QVERIFY2(!lines.isEmpty() && lines.last().endsWith(lastLine), qPrintable(lines.join(u'\n')));
  }
};
EXAMORA_TEST(TestAdminState)

#include "tst_admin.moc"
