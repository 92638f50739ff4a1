// The screens that show web pages, registered with the session controller by their own code:
// linked into the program, or as the module the program loads when one is first asked for.
#include <memory>

#include "exam/QZMain.h"
#include "flow/ExamWindows.h"
#include "flow/QZTP0030.h"

namespace examora {
namespace {

void RegisterKnowledgeWindow() {
  RegisterScreenRunner(
      QStringLiteral("TfrmQZMain"), [](QWidget* owner, const ExamWindowRequest& request) {
        TfrmQZMain window(owner);
        window.SetPart(request.partCode, request.debugMode);
        window.VenueCode = request.venueCode;
        window.CandidateNumber = request.candidateNumber;
        window.PracticeMode = request.practiceMode;
        window.InitialPosition =
            request.layoutCode.isEmpty() ? QStringLiteral("4") : request.layoutCode;
        window.SavedLayout = request.savedRect;
        window.RestoreLayout = request.restoreLayout;
        window.WorkArea = request.workArea;
        window.setGeometry(request.screen.isValid() ? QRect(QPoint(0, 0), request.screen.size())
                                                    : window.geometry());
        window.setWindowModality(Qt::ApplicationModal);
        window.exec();
        // The paper could not be shown: the program ends without handing over.
        return window.EndProgramRequested ? ScreenOutcome::EndProgram : ScreenOutcome::Closed;
      });
}

void HandOverPageScreens() {
  RegisterNotesScreen([](QWidget* owner, bool fromExamWindow) {
    auto notes = std::make_unique<TfrmQZTP0030>(owner);
    notes->FromExamWindow = fromExamWindow;
    return std::unique_ptr<ScreenFrame>(std::move(notes));
  });
  SetPageScreenRegistrar(&RegisterKnowledgeWindow);
}

// Runs as this code is linked in or loaded.
[[maybe_unused]] const bool kHandedOver = (HandOverPageScreens(), true);

}  // namespace
}  // namespace examora
