#include "exam/model/OnTopGuard.h"

#include "exam/model/Placement.h"

namespace examora {

OnTopGuard::OnTopGuard(OnTopGuardHooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)) {
  NotOpMostTimer.setInterval(kInitialGuardInterval);
  ErrDialogCheckTimer.setInterval(kDialogCheckInterval);
  connect(&NotOpMostTimer, &QTimer::timeout, this, &OnTopGuard::NotOpMostTimerTimer);
  connect(&ErrDialogCheckTimer, &QTimer::timeout, this, &OnTopGuard::ErrDialogCheckTimerTimer);
}

void OnTopGuard::Start() {
  StartGuard();
  watchRunning_ = true;
  ErrDialogCheckTimer.start();
}

void OnTopGuard::Stop() {
  StopGuard();
  watchRunning_ = false;
  ErrDialogCheckTimer.stop();
}

void OnTopGuard::StartGuard() {
  guardRunning_ = true;
  NotOpMostTimer.start();
}

void OnTopGuard::StopGuard() {
  guardRunning_ = false;
  NotOpMostTimer.stop();
}

void OnTopGuard::NotOpMostTimerTimer() {
  NotOpMostTimer.stop();
  try {
    const bool enabled = !hooks_.windowEnabled || hooks_.windowEnabled();
    const bool viewerOpen = hooks_.sampleViewerOpen && hooks_.sampleViewerOpen();
    // A disabled window means one of our dialogs is up: raising the window would bury it,
    // and the back-off waits for ticks that actually guard.
    if (enabled && !viewerOpen) {
      if (hooks_.raiseTopMost) hooks_.raiseTopMost();
      NotOpMostTimer.setInterval(NextGuardInterval(NotOpMostTimer.interval()));
    }
  } catch (...) {
    // The guard must outlive a failing hook; the next tick tries again.
  }
  if (guardRunning_) NotOpMostTimer.start();
}

void OnTopGuard::ErrDialogCheckTimerTimer() {
  ErrDialogCheckTimer.stop();
  try {
    if (!hooks_.windowEnabled || hooks_.windowEnabled()) {
      ErrorDialogSeen = false;
    } else if (!ErrorDialogSeen) {
      if (hooks_.log)
        hooks_.log(
            QStringLiteral("QZMain：エラーダイアログ存在の為に、最前面表示を解除しました。"));
      if (hooks_.releaseTopMost) hooks_.releaseTopMost();
      ErrorDialogSeen = true;
    }
  } catch (...) {
    // As above: the watch keeps running after an error.
  }
  if (watchRunning_) ErrDialogCheckTimer.start();
}

}  // namespace examora
