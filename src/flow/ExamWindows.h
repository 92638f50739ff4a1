#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

// The windows the session controller opens after the wizard live above it (the exam windows
// need the screens), so the program registers them here at start-up and the controller asks
// for them by name. A window that is not registered is not available in this build.
namespace examora {

// The operation practice of a web-style part runs its practice window beside the practice
// dialogs; the two talk through these interfaces because the window lives above the dialogs.

// Implemented by the practice window (TfrmQZMain3, TfrmQZMain2 in practice mode).
class PracticeWindow {
 public:
  virtual ~PracticeWindow() = default;
  // The practice dialogs reached their end: the end button may now end the practice.
  virtual void SetPracticeStepsDone(bool done) = 0;
  virtual bool PracticeEndConfirmed() const = 0;
  // Asks the window to end the practice; its close handling shows the end confirmation and
  // refuses the close.
  virtual void ConfirmAndClose() = 0;
  // After a confirmed end: the window stores its layout and closes.
  virtual void ClosePracticeWindow() = 0;
};

// Implemented by the practice owner (TfrmQZTP0120).
class PracticeGuide {
 public:
  virtual ~PracticeGuide() = default;
  // Hides the practice dialog showing now, or shows again the one hidden, around the
  // window's own dialogs.
  virtual void SetPracticeDialogsVisible(bool visible) = 0;
  // The window tells when it has opened and when it is gone (nullptr).
  virtual void PracticeWindowChanged(PracticeWindow* window) = 0;
};

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
  // Set when the practice dialogs of a web-style part open the window (practiceMode is then
  // true): the window is shown without modality beside the dialogs, tells the guide about
  // itself and returns when it has closed.
  PracticeGuide* practiceGuide = nullptr;
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
// Asks for the page screens (below) the first time a name is not registered.
const ScreenRunner* FindScreenRunner(const QString& className);

class ScreenFrame;

// The notes screen (TfrmQZTP0030) of the wizard and of the exam windows' cover.
// fromExamWindow: opened through the cover, where nothing follows the notes.
using NotesScreenFactory =
    std::function<std::unique_ptr<ScreenFrame>(QWidget* owner, bool fromExamWindow)>;
void RegisterNotesScreen(NotesScreenFactory factory);
// The notes screen, or nullptr with the reason in *error when the program cannot show it.
std::unique_ptr<ScreenFrame> CreateNotesScreen(QWidget* owner, bool fromExamWindow, QString* error);

// The screens that show web pages, the knowledge exam window ("TfrmQZMain") and the notes,
// need the browser engine, whose libraries take longer to load than the whole first screen.
// In the program they come in a module of their own, loaded when one of them is first asked
// for (FindScreenRunner, CreateNotesScreen); tests and tools link them in. Either way their
// code, as it is loaded, registers the notes and hands over the registrar of the exam window,
// which RegisterExamWindows or the loading calls.
using PageScreenRegistrar = void (*)();
void SetPageScreenRegistrar(PageScreenRegistrar registrar);
// Registers the knowledge exam window where its code is already there (RegisterExamWindows).
void RegisterLinkedPageScreens();
// Loads the page screens' module: an empty string, or why it could not be loaded.
using PageModuleLoader = std::function<QString()>;
void SetPageModuleLoader(PageModuleLoader loader);

}  // namespace examora
