// examora-screens <output folder> [--only NAME] [--list]: renders every screen, filled from the
// sample installation, to "<output folder>/<name>.png" without a display.
//
// NAME is an entry's name ("QZTP0060-4") or a form code ("QZTP0060": all its variants). A
// screen that fails is reported and the others still render; the exit code is 1 when any
// failed, 2 for a usage error.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <cstdio>
#include <exception>

#include "SampleInstallation.h"
#include "ScreenTable.h"
#include "common/ExeFolder.h"
#include "flow/ScreenFrame.h"

namespace {

using examora::screens::Installation;
using examora::screens::ScreenEntry;
using examora::screens::Shot;

constexpr char kScreenConfig[] =
    R"({"screens": [{"name": "venue", "x": 0, "y": 0, "width": 1280, "height": 1024,)"
    R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

constexpr int kShowTimeoutMs = 5000;
constexpr int kPageTimeoutMs = 20000;
// Time for posted work (the rounded shape, late layout) and, for pages, the compositor's
// first frames after the load.
constexpr int kSettleMs = 300;
constexpr int kPageSettleMs = 800;

void Print(FILE* stream, const QString& text) {
  std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
  std::fflush(stream);
}

void Spin(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until done() or the timeout; false on timeout.
template <typename Done>
bool SpinUntil(Done done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!done()) Spin(20);
  }
  return true;
}

// Counts the page loads of every browser in a window from before it is shown.
class PageLoads : public QObject {
 public:
  explicit PageLoads(QWidget* window) {
    for (QWebEngineView* view : window->findChildren<QWebEngineView*>()) {
      views_.append(view);
      connect(view, &QWebEngineView::loadStarted, this, [this] { ++pending_; });
      connect(view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (pending_ > 0) --pending_;
        if (!ok) failed_ = true;
      });
    }
  }
  bool Any() const { return !views_.isEmpty(); }
  int Pending() const { return pending_; }
  bool Failed() const { return failed_; }

 private:
  QList<QPointer<QWebEngineView>> views_;
  int pending_ = 0;
  bool failed_ = false;
};

// The window as painted, cut to its shape: the offscreen platform ignores window masks, so
// the rounded corners are applied to the picture here.
QImage Grab(QWidget* window) {
  QImage picture = window->grab().toImage();
  const QRegion mask = window->mask();
  if (picture.isNull() || mask.isEmpty()) return picture;
  QImage shaped(picture.size(), QImage::Format_ARGB32_Premultiplied);
  shaped.setDevicePixelRatio(picture.devicePixelRatio());
  shaped.fill(Qt::transparent);
  QPainter painter(&shaped);
  painter.setClipRegion(mask);
  painter.drawImage(QPoint(0, 0), picture);
  painter.end();
  return shaped;
}

// Builds the entry's installation, renders its screen and writes the PNG. "" when it worked,
// otherwise what went wrong.
QString Render(const ScreenEntry& entry, const QString& workFolder, const QString& outputFolder) {
  // The folder name shows on some screens (the notes name the installation folder).
  const QString folder = workFolder + QLatin1Char('/') + entry.name + QStringLiteral("/sample");
  QString error;
  if (!examora::sample::BuildSampleInstallation(folder, &error))
    return QStringLiteral("sample installation: ") + error;
  examora::SetExeFolder(folder);

  Installation installation;
  examora::screens::FillCandidate(installation);
  Shot shot = entry.make(installation);
  if (!installation.Error().isEmpty()) return installation.Error();
  if (!shot.window) return QStringLiteral("no window was built");
  QWidget* window = shot.window.get();

  PageLoads loads(window);
  window->show();
  // The show handling ran inside show(); what it posted has not.
  if (shot.holdAfterShow) QCoreApplication::removePostedEvents(window, examora::kAfterShowEvent);

  QString problem;
  const bool exposed = SpinUntil(
      [window] {
        return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
      },
      kShowTimeoutMs);
  if (!exposed) problem = QStringLiteral("the window did not become visible");
  Spin(kSettleMs);
  if (loads.Any()) {
    if (!SpinUntil([&loads] { return loads.Pending() == 0; }, kPageTimeoutMs))
      problem =
          QStringLiteral("a page did not finish loading within %1 s").arg(kPageTimeoutMs / 1000);
    else if (loads.Failed())
      problem = QStringLiteral("a page failed to load");
    Spin(kPageSettleMs);
  }

  const QImage picture = Grab(window);
  window->hide();
  shot.window.reset();
  if (picture.isNull()) return QStringLiteral("the window could not be grabbed");
  const QString file = outputFolder + QLatin1Char('/') + entry.name + QStringLiteral(".png");
  if (!picture.save(file, "PNG")) return QStringLiteral("cannot write ") + file;
  return problem;
}

bool Selected(const ScreenEntry& entry, const QString& only) {
  return only.isEmpty() || entry.name == only || entry.name.startsWith(only + QLatin1Char('-'));
}

// Drops the warning the offscreen platform gives for every rounded window; the shape is
// applied to the pictures instead.
QtMessageHandler previousHandler = nullptr;
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == u"This plugin does not support setting window masks") return;
  if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  previousHandler = qInstallMessageHandler(FilterMessages);
  // Off screen by default, on a screen of a venue PC's size rather than the platform's
  // 800 x 600, so that the full-screen windows look as they do in an exam.
  QTemporaryFile screenConfig(QDir::tempPath() + QStringLiteral("/examora-screens-XXXXXX.json"));
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    QByteArray value = "offscreen";
    // The platform options are separated by ':', so a path holding one (a drive letter)
    // cannot be passed; the default screen does then.
    if (!screenConfig.fileTemplate().contains(u':') && screenConfig.open()) {
      screenConfig.write(kScreenConfig);
      screenConfig.close();
      value += ":configfile=" + QFile::encodeName(screenConfig.fileName());
    }
    qputenv("QT_QPA_PLATFORM", value);
  }
  // The browser engine runs without a GPU and, as root in containers, without its sandbox.
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);

  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  QString only;
  QString output;
  bool list = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args.at(i) == u"--only" && i + 1 < args.size()) {
      only = args.at(++i);
    } else if (args.at(i) == u"--list") {
      list = true;
    } else if (output.isEmpty() && !args.at(i).startsWith(u'-')) {
      output = args.at(i);
    } else {
      output.clear();
      list = false;
      break;
    }
  }
  const auto& table = examora::screens::ScreenTable();
  if (list) {
    for (const ScreenEntry& entry : table) Print(stdout, entry.name);
    return 0;
  }
  if (output.isEmpty()) {
    Print(stderr, QStringLiteral("usage: examora-screens <output folder> [--only NAME] | --list"));
    return 2;
  }

  std::vector<const ScreenEntry*> chosen;
  for (const ScreenEntry& entry : table)
    if (Selected(entry, only)) chosen.push_back(&entry);
  if (chosen.empty()) {
    Print(stderr, QStringLiteral("examora-screens: no screen named ") + only);
    return 2;
  }

  output = QDir::cleanPath(QFileInfo(output).absoluteFilePath());
  if (!QDir().mkpath(output)) {
    Print(stderr, QStringLiteral("examora-screens: cannot create ") + output);
    return 1;
  }
  QTemporaryDir work;
  if (!work.isValid()) {
    Print(stderr, QStringLiteral("examora-screens: no temporary folder: ") + work.errorString());
    return 1;
  }

  int failed = 0;
  for (const ScreenEntry* entry : chosen) {
    QElapsedTimer timer;
    timer.start();
    QString problem;
    try {
      problem = Render(*entry, work.path(), output);
    } catch (const std::exception& e) {
      problem = QStringLiteral("exception: ") + QString::fromLocal8Bit(e.what());
    }
    if (problem.isEmpty()) {
      Print(stdout, QStringLiteral("ok      %1 (%2 ms)").arg(entry->name).arg(timer.elapsed()));
    } else {
      ++failed;
      Print(stderr, QStringLiteral("FAILED  %1: %2").arg(entry->name, problem));
    }
  }
  Print(stdout, QStringLiteral("%1 of %2 screens written to %3")
                    .arg(qsizetype(chosen.size()) - failed)
                    .arg(chosen.size())
                    .arg(output));
  return failed == 0 ? 0 : 1;
}
