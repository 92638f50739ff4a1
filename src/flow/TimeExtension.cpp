#include "flow/TimeExtension.h"

#include "common/WallClock.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "flow/QZTP0200.h"

namespace examora {

ExtensionOutcome RunTimeExtension(QWidget* owner, const QString& partCode) {
  ExtensionOutcome outcome;
  // The shortcut is hidden from candidates; only installations that allow it react.
  if (!ReadSystemIni(CurrentDate().year()).timeControl) return outcome;

  outcome.ran = true;
  outcome.oldMinutes = ReadSetupIni(partCode).add;
  outcome.newMinutes = outcome.oldMinutes;

  TfrmQZTP0200 input(owner);
  input.SetPartCode(partCode);
  if (input.ShowModal() != ModalResult::Ok) return outcome;

  // What counts is what add now holds, not what was typed.
  outcome.stored = true;
  outcome.newMinutes = ReadSetupIni(partCode).add;
  if (outcome.Changed()) {
    TfrmQZTP0210 result(owner);
    result.SetPartCode(partCode);
    result.OldMinutes = outcome.oldMinutes;
    result.NewMinutes = outcome.newMinutes;
    result.ShowModal();
  }
  return outcome;
}

}  // namespace examora
