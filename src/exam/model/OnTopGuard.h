#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Keeps a practical part's exam window above the office application the candidate works in,
// and gives way while one of the program's own dialogs is up so that the dialog is not
// buried under the window it belongs to.
namespace examora {

struct OnTopGuardHooks {
  std::function<bool()> windowEnabled;      // false while a modal dialog of ours is up
  std::function<bool()> sampleViewerOpen;   // the finished-sample viewer is open
  std::function<void()> raiseTopMost;       // the exam window top-most, not moved or sized
  std::function<void()> releaseTopMost;     // the application's main window not top-most
  std::function<void(const QString&)> log;  // a line of the run log ("QZMain：…")
};

class OnTopGuard : public QObject {
  Q_OBJECT

 public:
  static constexpr int kInitialGuardInterval = 100;
  static constexpr int kDialogCheckInterval = 2000;

  explicit OnTopGuard(OnTopGuardHooks hooks, QObject* parent = nullptr);

  // Both timers. The guard keeps the interval it has backed off to.
  void Start();
  void Stop();
  // The guard alone, as the on-top check box switches it; the dialog watch runs on.
  void StartGuard();
  void StopGuard();

  // One tick of each timer (connected to their timeouts; callable directly).
  void NotOpMostTimerTimer();
  void ErrDialogCheckTimerTimer();

  QTimer NotOpMostTimer;       // the on-top guard, 100 ms growing to 10 s
  QTimer ErrDialogCheckTimer;  // the dialog watch, 2000 ms
  bool ErrorDialogSeen = false;

 private:
  OnTopGuardHooks hooks_;
  // A timer stopped from inside a hook during its own tick stays stopped.
  bool guardRunning_ = false;
  bool watchRunning_ = false;
};

}  // namespace examora
