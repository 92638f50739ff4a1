#include "platform/OfficeAutomation.h"

namespace examora {

// The office applications' automation exists only on Windows. Saying "not reachable" lets the
// rules above take their ordinary path for an application that is not running.
AutomationResult GetActiveAutomationObject(std::string_view programId) {
  return AutomationResult::Failure(std::string(programId) +
                                   ": office automation is not available on this system");
}

}  // namespace examora
