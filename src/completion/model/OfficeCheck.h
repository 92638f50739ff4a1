#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

#include "platform/OfficeAutomation.h"
#include "platform/TopLevelWindows.h"

// The office application a practical part is worked in: before the exam, is the running one
// the version the exam was written for; at the end, close it without saving (what counts is
// what the candidate saved into the work folder). Only the automation object of an application
// the candidate started is used; nothing is ever started.
namespace examora {

// What the rules need from the system; tests put a scripted application behind it.
class OfficeEnvironment {
 public:
  virtual ~OfficeEnvironment() = default;
  // The application's main window (class name only, any title).
  virtual std::optional<WindowId> FindWindowByClass(const std::string& className) = 0;
  virtual AutomationResult GetActiveObject(const std::string& programId) = 0;
  virtual void BringToFront(WindowId window) = 0;
};

// The real one: TopLevelWindows and OfficeAutomation of the platform layer.
OfficeEnvironment& SystemOfficeEnvironment();

// system.ini [基本情報] APP, APPVERチェック文字, APP検索名.
struct OfficeSettings {
  QString app;              // program identifier, e.g. "Excel.Application"
  QString expectedVersion;  // compared exactly with Version
  QString windowClass;

  static OfficeSettings Read();
};

// "Excel", "Word", "PowerPoint", "Access" for the four known identifiers, "" for any other.
QString OfficeDisplayName(const QString& app);

enum class OfficeCheckOutcome {
  Passed,          // the expected version runs
  NotRunning,      // no window (or, for the presentation program, no object)
  Unreachable,     // a window but no object yet: its window was brought to the front; retry
  Busy,            // Version could not be read (a dialog box is open in the application)
  VersionDiffers,  // reported, and the application was asked to close
  Undecided,       // the spreadsheet could not say its active workbook, or an unknown APP
};

// Called where the check dialog writes a log line (event text after "QZTP0050：", may be
// empty for none) and shows a coded message (may be empty). The silent check passes none.
using OfficeCheckNotice = std::function<void(const QString& logEvent, const QString& message)>;

OfficeCheckOutcome CheckOfficeApplication(const OfficeSettings& settings,
                                          OfficeEnvironment& environment,
                                          const OfficeCheckNotice& notice = {});

// One round of the shutdown at the end of the exam. True when there is nothing (more) to do or
// the application cannot be reached; false when it closed documents or asked the application
// to quit, and should be called again.
bool CloseOfficeApplication(const OfficeSettings& settings, OfficeEnvironment& environment);

// CloseOfficeApplication until it returns true, at most kMaxShutdownCalls calls: an
// application that keeps answering but never goes away must not hold the exam's end.
inline constexpr int kMaxShutdownCalls = 11;
int ShutDownOfficeApplication(const OfficeSettings& settings, OfficeEnvironment& environment);

}  // namespace examora
