#pragma once

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// The windows the session controller opens after the wizard live above it (the exam windows
// need the screens), so the program registers them here at start-up and the controller asks
// for them by name. A window that is not registered is not available in this build.
namespace examora {

// What the controller hands an exam window.
struct ExamWindowRequest {
  QString partCode;
  bool debugMode = false;  // "-debug" was given
  QString venueCode;
  QString candidateNumber;
  bool practiceMode = false;
  bool restoreLayout = false;  // the operation practice ran: apply its saved layout
  QString layoutCode;          // setup.ini [画面情報] 位置
  QRect savedRect;             // setup.ini [画面情報] 左, 上, 幅, 高さ
  QRect screen;                // the primary screen
  QRect workArea;              // (0, 0, screen width, screen height)
  // Called with the window once its modal run has begun: the practice guide of a web-style
  // part drives the practice window from there (may be empty).
  std::function<void(QWidget* window)> shown;
};

// How a window the controller opened has ended.
enum class ScreenOutcome {
  Closed,      // the session goes on (and hands over when the part was started)
  EndProgram,  // the program ends at once, without hand-over (e.g. the paper could not be shown)
};

// Shows the window modally and returns when it has closed.
using ScreenRunner = std::function<ScreenOutcome(QWidget* owner, const ExamWindowRequest& request)>;

// Names: "TfrmQZMain", "TfrmQZMain2", "TfrmQZMain3", "TfrmQZTP0120" (practice guide),
// "TfrmQZTP0180" (part end notice).
void RegisterScreenRunner(const QString& className, ScreenRunner runner);
void UnregisterScreenRunner(const QString& className);
const ScreenRunner* FindScreenRunner(const QString& className);

}  // namespace examora
