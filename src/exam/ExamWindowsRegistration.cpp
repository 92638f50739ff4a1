#include <QEventLoop>

#include "exam/ExamWindowsRegistration.h"
#include "exam/QZMain2.h"
#include "exam/QZMain3.h"
#include "flow/ExamWindows.h"
#include "flow/QZTP0120.h"
#include "flow/QZTP0180.h"

namespace examora {
namespace {

// Beside the practice dialogs a window must leave them usable: no modality, and the call
// returns when it closes. Otherwise it runs application-modal.
void RunWindow(QDialog& window, bool besidePracticeDialogs) {
  if (besidePracticeDialogs) {
    QEventLoop loop;
    QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
    window.show();
    loop.exec(QEventLoop::DialogExec);
  } else {
    window.setWindowModality(Qt::ApplicationModal);
    window.exec();
  }
}

}  // namespace

void RegisterExamWindows() {
  // The answer-only window of a web-style knowledge part. In the practice it runs beside the
  // practice dialogs, which must stay usable: no modality, and the call returns when it closes.
  RegisterScreenRunner(
      QStringLiteral("TfrmQZMain3"), [](QWidget* owner, const ExamWindowRequest& request) {
        TfrmQZMain3 window(owner);
        window.SetPart(request.partCode, request.debugMode);
        window.VenueCode = request.venueCode;
        window.CandidateNumber = request.candidateNumber;
        window.PracticeMode = request.practiceMode;
        window.Guide = request.practiceGuide;
        RunWindow(window, request.practiceMode);
        return window.EndProgramRequested ? ScreenOutcome::EndProgram : ScreenOutcome::Closed;
      });

  // The compact practical window; in the practice of a web-style part it runs beside the
  // practice dialogs like the answer-only window.
  RegisterScreenRunner(QStringLiteral("TfrmQZMain2"),
                       [](QWidget* owner, const ExamWindowRequest& request) {
                         TfrmQZMain2 window(owner);
                         window.SetPart(request.partCode, request.debugMode);
                         window.VenueCode = request.venueCode;
                         window.CandidateNumber = request.candidateNumber;
                         window.PracticeMode = request.practiceMode;
                         window.RestoreLayout = request.restoreLayout;
                         window.SavedLayout = request.savedRect;
                         window.Guide = request.practiceGuide;
                         RunWindow(window, request.practiceGuide != nullptr);
                         return ScreenOutcome::Closed;
                       });

  // The operation practice of a web-style part.
  RegisterScreenRunner(QStringLiteral("TfrmQZTP0120"),
                       [](QWidget* owner, const ExamWindowRequest& request) {
                         TfrmQZTP0120 guide(owner);
                         guide.SetPartCode(request.partCode);
                         guide.VenueCode = request.venueCode;
                         guide.CandidateNumber = request.candidateNumber;
                         guide.DebugMode = request.debugMode;
                         (void)guide.ShowModal();
                         return ScreenOutcome::Closed;
                       });

  // The part end notice of a web-style part.
  RegisterScreenRunner(QStringLiteral("TfrmQZTP0180"),
                       [](QWidget* owner, const ExamWindowRequest& request) {
                         TfrmQZTP0180 notice(owner);
                         notice.SetPartCode(request.partCode);
                         (void)notice.ShowModal();
                         return ScreenOutcome::Closed;
                       });

  // The knowledge exam window, where its code is linked in; otherwise it is registered as its
  // module loads, when first asked for.
  RegisterLinkedPageScreens();
}

}  // namespace examora
