#include <QTimer>

#include "exam/QZMain.h"
#include "exam/QZMain2.h"
#include "flow/ExamWindows.h"

namespace examora {

void RegisterExamWindows() {
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

  RegisterScreenRunner(
      QStringLiteral("TfrmQZMain2"), [](QWidget* owner, const ExamWindowRequest& request) {
        TfrmQZMain2 window(owner);
        window.SetPart(request.partCode, request.debugMode);
        window.VenueCode = request.venueCode;
        window.CandidateNumber = request.candidateNumber;
        window.PracticeMode = request.practiceMode;
        window.RestoreLayout = request.restoreLayout;
        window.SavedLayout = request.savedRect;
        window.setWindowModality(Qt::ApplicationModal);
        if (request.shown)
          QTimer::singleShot(0, &window, [&window, &request] { request.shown(&window); });
        window.exec();
        return ScreenOutcome::Closed;
      });
}

}  // namespace examora
