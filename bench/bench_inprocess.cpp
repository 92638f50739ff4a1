// examora-bench: in-process figures, each beside a bare baseline doing the same job with
// nothing of ours in between.
//
//   answer write  AnswerSheet::Record + Save (the click's way to the disk)  vs  QSaveFile
//                 write + commit of the same bytes in the same folder (and, for reference,
//                 the same with the folder flushed as well), taking turns write by write
//   answer click  the whole radio-button handler of the knowledge window (record, file, log,
//                 tree marks), for reference
//   first page    a knowledge window created, shown and its first question page loaded  vs
//                 a QWebEngineView loading the same page
//   work folder   the submission list of 10,000 files in 50 nested folders (collect, open
//                 check, time of every file)  vs  a std::filesystem walk of the same tree
//                 reading every file's size and time (and, for reference, names only)
//
// Runs against the sample installation laid out in a temporary folder on the same disk as the
// build (a tmpfs would make every flush free). Google Benchmark switches apply; bench/run.sh
// reads the JSON output.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "SampleInstallation.h"
#include "common/ExeFolder.h"
#include "common/FileList.h"
#include "completion/model/SubmissionFiles.h"
#include "data/AnswerRecord.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/model/AnswerSheet.h"
#include "exam/model/ExamStructure.h"

using namespace examora;

namespace {

const QString kPart = QStringLiteral("1");
QUrl g_firstPageUrl;  // learnt from the knowledge window before the figures are taken

QRect ScreenRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1280, 1024);
}

// Runs the event loop until done() holds or timeoutMs passes; false on timeout.
template <typename Done>
bool WaitUntil(Done done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// Lets the engine finish tearing down a closed page so that one round's clean-up does not
// land in the next round's time.
void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::unique_ptr<TfrmQZMain> MakeExamWindow() {
  auto window = std::make_unique<TfrmQZMain>(nullptr);
  window->SetPart(kPart, false);
  window->VenueCode = QStringLiteral("01234");
  window->CandidateNumber = QStringLiteral("1001");
  window->setGeometry(ScreenRect());
  return window;
}

QList<int> SubQuestionRows(const ExamStructure& structure) {
  QList<int> rows;
  int row = 0;
  for (const SheetRow& r : structure.Rows()) {
    ++row;
    if (r.kind == RowKind::SubQuestion) rows << row;
  }
  return rows;
}

AnswerSheet SampleSheet() {
  ExamStructureResult read = ReadExamStructure(kPart, kPart, false);
  AnswerSheet sheet(read.structure);
  sheet.SetRecordHeader(QStringLiteral("T3"), kPart, QStringLiteral("01234"),
                        QStringLiteral("1001"));
  return sheet;
}

// ---- Answer write ---------------------------------------------------------------------------

// The bare write: QSaveFile, as a Qt program writes a file it must not lose half of.
bool BareSave(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// QSaveFile flushes the file but not the folder entry that its rename changes: after a power
// loss the old file may come back. The baseline plus that one flush, for reference.
bool FlushFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

double SecondsSince(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Ours and the baselines take turns within every iteration, so that the disk's slow and fast
// moments (other work on the machine) fall on all of them alike. The iteration time is ours;
// the counters bare_ms and bare_dirsync_ms are the baselines' mean times per write.
void BM_AnswerWrite(benchmark::State& state) {
  AnswerSheet sheet = SampleSheet();
  const QList<int> rows = SubQuestionRows(sheet.Structure());
  const QString path = AnswerFilePath(kPart);
  const QString barePath = ContentFolder(kPart) + QStringLiteral("/bare.csv");
  const QByteArray folder = QFile::encodeName(ContentFolder(kPart));
  double bare = 0, bareDirSync = 0;
  qsizetype n = 0;
  for ([[maybe_unused]] auto _ : state) {
    const int row = rows.at(n % rows.size());
    const int choice = static_cast<int>(n / rows.size() % 4) + 1;
    ++n;
    QElapsedTimer timer;
    timer.start();
    if (!sheet.Record(row, choice, true) || !sheet.Save(path)) {
      state.SkipWithError("the answer was not written");
      break;
    }
    state.SetIterationTime(SecondsSince(timer));
    // The same bytes through the baselines.
    const QByteArray bytes = AnswerFileBytes(sheet.CurrentRecord());
    timer.restart();
    if (!BareSave(barePath, bytes)) {
      state.SkipWithError("QSaveFile failed");
      break;
    }
    bare += SecondsSince(timer);
    timer.restart();
    if (!BareSave(barePath, bytes) || !FlushFolder(folder)) {
      state.SkipWithError("QSaveFile or the folder flush failed");
      break;
    }
    bareDirSync += SecondsSince(timer);
  }
  const auto perWrite = benchmark::Counter::kAvgIterations;
  state.counters["bare_ms"] = benchmark::Counter(bare * 1e3, perWrite);
  state.counters["bare_dirsync_ms"] = benchmark::Counter(bareDirSync * 1e3, perWrite);
}

void BM_AnswerClick(benchmark::State& state) {
  auto window = MakeExamWindow();
  window->show();
  // Without a window manager nothing hands the new window the focus; the exam starts on the
  // window's first activation.
  window->activateWindow();
  if (!WaitUntil([&] { return !window->FirstActivation; }, 30000)) {
    state.SkipWithError("the knowledge window did not start");
    return;
  }
  const QList<int> rows = SubQuestionRows(window->Sheet().Structure());
  qsizetype n = 0;
  for ([[maybe_unused]] auto _ : state) {
    const int row = rows.at(n % rows.size());
    const int choice = static_cast<int>(n / rows.size() % 4) + 1;
    ++n;
    window->RadioButton(row, choice)->click();
  }
  if (window->Sheet().Answer(1).isEmpty()) state.SkipWithError("no click was recorded");
}

// ---- First page -----------------------------------------------------------------------------

void BM_FirstPageExamWindow(benchmark::State& state) {
  for ([[maybe_unused]] auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    auto window = MakeExamWindow();
    bool ready = false;
    QObject::connect(window.get(), &TfrmQZMain::pageReady, [&] { ready = true; });
    window->show();
    if (!WaitUntil([&] { return ready; }, 30000)) {
      state.SkipWithError("the first page did not load");
      break;
    }
    state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    g_firstPageUrl = window->Browser()->url();
    window.reset();
    Settle(300);
  }
}

void BM_FirstPageBareView(benchmark::State& state) {
  if (g_firstPageUrl.isEmpty()) {
    state.SkipWithError("no page: run BM_FirstPageExamWindow first");
    return;
  }
  for ([[maybe_unused]] auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    auto view = std::make_unique<QWebEngineView>();
    view->setGeometry(ScreenRect());
    bool ready = false;
    QObject::connect(view.get(), &QWebEngineView::loadFinished, [&](bool ok) { ready = ok; });
    view->show();
    view->load(g_firstPageUrl);
    if (!WaitUntil([&] { return ready; }, 30000)) {
      state.SkipWithError("the page did not load");
      break;
    }
    state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    view.reset();
    Settle(300);
  }
}

// Each pair runs ours first, then its baseline; repetitions give a median that one disk stall
// or one busy moment on the machine does not decide.
BENCHMARK(BM_AnswerWrite)
    ->Iterations(100)
    ->Repetitions(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerClick)
    ->Iterations(100)
    ->Repetitions(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPageExamWindow)
    ->Iterations(5)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPageBareView)
    ->Iterations(5)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---- Work folder listing --------------------------------------------------------------------

// 10,000 one-byte files in 50 folders: 10 branches, each a chain 5 deep, 200 files a folder.
QString MakeWorkTree(const QString& base) {
  const QString root = base + QStringLiteral("/実技用-bench");
  if (QDir(root).exists()) return root;
  for (int branch = 0; branch < 10; ++branch) {
    QString folder = root;
    for (int depth = 0; depth < 5; ++depth) {
      folder += QStringLiteral("/b%1_d%2").arg(branch).arg(depth);
      QDir().mkpath(folder);
      for (int f = 0; f < 200; ++f) {
        QFile file(folder + QStringLiteral("/file%1.txt").arg(f));
        if (file.open(QIODevice::WriteOnly)) file.write("x");
      }
    }
  }
  return root;
}

// The bare walk: what any lister does at the least, every entry's kind, size and time.
std::size_t BareWalk(const std::filesystem::path& root, bool withAttributes) {
  std::size_t files = 0;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (withAttributes) {
      if (it->file_size(ec) == 0) continue;
      benchmark::DoNotOptimize(it->last_write_time(ec));
    }
    ++files;
  }
  return files;
}

void BM_WorkFolderList(benchmark::State& state) {
  SubmissionSource source;
  source.workFolder = MakeWorkTree(qEnvironmentVariable("EXAMORA_BENCH_DIR", QDir::currentPath()));
  const std::filesystem::path root = std::filesystem::u8path(source.workFolder.toStdString());
  double bare = 0, bareNames = 0;
  for ([[maybe_unused]] auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    const QList<SubmissionFile> files = ListSubmissionFiles(source);
    state.SetIterationTime(SecondsSince(timer));
    if (files.size() != 10000) {
      state.SkipWithError("the list does not hold the 10,000 files");
      break;
    }
    timer.restart();
    const std::size_t walked = BareWalk(root, true);
    bare += SecondsSince(timer);
    timer.restart();
    benchmark::DoNotOptimize(BareWalk(root, false));
    bareNames += SecondsSince(timer);
    if (walked != 10000) {
      state.SkipWithError("the bare walk did not find the 10,000 files");
      break;
    }
  }
  const auto perRun = benchmark::Counter::kAvgIterations;
  state.counters["bare_ms"] = benchmark::Counter(bare * 1e3, perRun);
  state.counters["bare_names_ms"] = benchmark::Counter(bareNames * 1e3, perRun);
}

BENCHMARK(BM_WorkFolderList)
    ->Iterations(3)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // Qt sees only the program name; the switches are Google Benchmark's.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  // Beside the build by default: /tmp may be a RAM disk on other machines.
  const QString base = qEnvironmentVariable("EXAMORA_BENCH_DIR", QDir::currentPath());
  QTemporaryDir dir(base + QStringLiteral("/examora-bench-XXXXXX"));
  QString error;
  if (!dir.isValid() || !sample::BuildSampleInstallation(dir.path(), &error)) {
    std::fprintf(stderr, "examora-bench: cannot lay out the sample: %s\n", qPrintable(error));
    return 1;
  }
  SetExeFolder(dir.path());
  RegisterExamWindows();

  // The engine's first start (its helper processes) is paid once by the process, not by the
  // first page of either side: start it before anything is timed.
  {
    QWebEngineView warmUp;
    bool ready = false;
    QObject::connect(&warmUp, &QWebEngineView::loadFinished, [&] { ready = true; });
    warmUp.setHtml(QStringLiteral("<p>warm-up</p>"));
    if (!WaitUntil([&] { return ready; }, 60000)) {
      std::fprintf(stderr, "examora-bench: the browser engine did not start\n");
      return 1;
    }
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
