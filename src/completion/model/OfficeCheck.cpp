#include "completion/model/OfficeCheck.h"

#include <QDate>

#include "common/QZMessage.h"
#include "data/ExamData.h"

namespace examora {
namespace {

const QString kExcel = QStringLiteral("Excel.Application");
const QString kWord = QStringLiteral("Word.Application");
const QString kPowerPoint = QStringLiteral("PowerPoint.Application");
const QString kAccess = QStringLiteral("Access.Application");

AutomationArg Positional(AutomationValue value) {
  return {std::string(), std::move(value)};
}

// A short chain of automation calls that stops at the first failure, as a script's error
// handler would.
class Chain {
 public:
  explicit Chain(AutomationObjectPtr root) : root_(std::move(root)) {}

  bool failed() const { return failed_; }

  AutomationObjectPtr Object(const AutomationObjectPtr& from, std::string_view property,
                             std::vector<AutomationArg> args = {}) {
    if (failed_ || !from) return Fail();
    const AutomationResult r = from->Get(property, args);
    AutomationObjectPtr object = r.ok ? r.Object() : nullptr;
    if (!object) Fail();
    return object;
  }
  AutomationObjectPtr Object(std::string_view property) { return Object(root_, property); }

  std::int32_t Count(std::string_view collection) {
    const AutomationObjectPtr items = Object(collection);
    if (failed_) return 0;
    const AutomationResult r = items->Get("Count");
    std::int32_t count = 0;
    if (!r.ok || !r.Integer(count)) Fail();
    return count;
  }

  void Call(const AutomationObjectPtr& on, std::string_view method,
            std::vector<AutomationArg> args = {}) {
    if (failed_ || !on) {
      Fail();
      return;
    }
    if (!on->Call(method, args).ok) Fail();
  }
  void Call(std::string_view method, std::vector<AutomationArg> args = {}) {
    Call(root_, method, std::move(args));
  }

  void Put(const AutomationObjectPtr& on, std::string_view property, AutomationValue value) {
    if (failed_ || !on) {
      Fail();
      return;
    }
    if (!on->Put(property, value).ok) Fail();
  }

  // Every workbook, last first: closing one renumbers the ones after it, never the ones before.
  void CloseEveryWorkbook(std::vector<AutomationArg> closeArgs) {
    const std::int32_t count = Count("Workbooks");
    const AutomationObjectPtr workbooks = Object("Workbooks");
    for (std::int32_t i = count; i >= 1 && !failed_; --i) {
      Call(Object(workbooks, "Item", {Positional(i)}), "Close", closeArgs);
    }
  }

 private:
  AutomationObjectPtr Fail() {
    failed_ = true;
    return nullptr;
  }

  AutomationObjectPtr root_;
  bool failed_ = false;
};

// The spreadsheet cannot say which workbook is active while it is in a cell edit or a dialog;
// acting on it then could lose what the candidate is typing.
bool ActiveWorkbookReadable(const AutomationObjectPtr& application) {
  return application->Get("ActiveWorkbook").ok;
}

// The close actions of the version check: the wrong version must go so that the candidate
// starts the right one.
void CloseWrongVersion(const QString& app, const AutomationObjectPtr& application) {
  Chain chain(application);
  if (app == kExcel) {
    chain.CloseEveryWorkbook({});
    if (chain.Count("Workbooks") == 0) chain.Call("Quit");
  } else if (app == kWord || app == kPowerPoint) {
    // Quit is asked also when there was no document to close: the wrong version must go.
    Chain document(application);
    document.Call(document.Object(app == kWord ? "ActiveDocument" : "ActivePresentation"), "Close");
    chain.Call("Quit");
  } else if (app == kAccess) {
    chain.Call("Quit", {Positional(std::int32_t{2})});
  }
}

OfficeCheckOutcome CompareVersion(const OfficeSettings& settings,
                                  const AutomationObjectPtr& application,
                                  const OfficeCheckNotice& notify) {
  std::string version;
  const AutomationResult read = application->Get("Version");
  if (!read.ok || !read.Text(version)) return OfficeCheckOutcome::Busy;
  if (QString::fromStdString(version) == settings.expectedVersion) {
    return OfficeCheckOutcome::Passed;
  }
  const QString name = OfficeDisplayName(settings.app);
  if (name.isEmpty()) return OfficeCheckOutcome::Undecided;
  if (settings.app == kExcel && !ActiveWorkbookReadable(application)) {
    return OfficeCheckOutcome::Undecided;
  }
  notify(name + QStringLiteral("のバージョンが異なります"), msg::kOfficeVersionDiffers);
  CloseWrongVersion(settings.app, application);
  return OfficeCheckOutcome::VersionDiffers;
}

class SystemEnvironment final : public OfficeEnvironment {
 public:
  std::optional<WindowId> FindWindowByClass(const std::string& className) override {
    return FindTopLevelWindowByClass(className);
  }
  AutomationResult GetActiveObject(const std::string& programId) override {
    return GetActiveAutomationObject(programId);
  }
  void BringToFront(WindowId window) override { ForceForeground(window); }
};

}  // namespace

OfficeEnvironment& SystemOfficeEnvironment() {
  static SystemEnvironment environment;
  return environment;
}

OfficeSettings OfficeSettings::Read() {
  const SystemIni system = ReadSystemIni(QDate::currentDate().year());
  return {system.app, system.appVersionCheck, system.appSearchName};
}

QString OfficeDisplayName(const QString& app) {
  if (app == kExcel) return QStringLiteral("Excel");
  if (app == kWord) return QStringLiteral("Word");
  if (app == kPowerPoint) return QStringLiteral("PowerPoint");
  if (app == kAccess) return QStringLiteral("Access");
  return {};
}

OfficeCheckOutcome CheckOfficeApplication(const OfficeSettings& settings,
                                          OfficeEnvironment& environment,
                                          const OfficeCheckNotice& notice) {
  const auto notify = [&notice](const QString& logEvent, const QString& message) {
    if (notice) notice(logEvent, message);
  };
  const std::string programId = settings.app.toStdString();
  const std::optional<WindowId> window =
      environment.FindWindowByClass(settings.windowClass.toStdString());

  if (window) {
    const AutomationResult active = environment.GetActiveObject(programId);
    const AutomationObjectPtr application = active.ok ? active.Object() : nullptr;
    if (!application) {
      // Starting up, or busy with a modal dialog: show it to the candidate and ask again soon.
      environment.BringToFront(*window);
      return OfficeCheckOutcome::Unreachable;
    }
    const OfficeCheckOutcome outcome = CompareVersion(settings, application, notify);
    if (outcome == OfficeCheckOutcome::Busy) notify(QString(), msg::kOfficeBusy);
    return outcome;
  }

  const QString notRunning =
      QStringLiteral("該当するバージョンのアプリケーションソフトが起動されていません。");
  if (settings.app != kPowerPoint) {
    notify(notRunning, msg::kOfficeNotRunning);
    return OfficeCheckOutcome::NotRunning;
  }
  // The presentation program may run without a window of its class (e.g. only a slide show).
  const AutomationResult active = environment.GetActiveObject(programId);
  const AutomationObjectPtr application = active.ok ? active.Object() : nullptr;
  if (!application) {
    notify(notRunning, msg::kOfficeNotRunning);
    return OfficeCheckOutcome::NotRunning;
  }
  const OfficeCheckOutcome outcome = CompareVersion(settings, application, notify);
  if (outcome == OfficeCheckOutcome::Busy) {
    notify(QStringLiteral("アプリケーションソフトで編集操作が行われています。"), msg::kOfficeBusy);
  }
  return outcome;
}

bool CloseOfficeApplication(const OfficeSettings& settings, OfficeEnvironment& environment) {
  const std::string programId = settings.app.toStdString();
  const bool window = environment.FindWindowByClass(settings.windowClass.toStdString()).has_value();
  if (!window && settings.app != kPowerPoint) return true;
  const AutomationResult active = environment.GetActiveObject(programId);
  const AutomationObjectPtr application = active.ok ? active.Object() : nullptr;
  if (!application) return true;

  Chain chain(application);
  if (settings.app == kExcel) {
    if (!ActiveWorkbookReadable(application)) return false;
    chain.CloseEveryWorkbook({{"SaveChanges", false}});
    if (!chain.failed() && chain.Count("Workbooks") == 0) chain.Call("Quit");
  } else if (settings.app == kWord) {
    // One document per call; the caller repeats until the application is gone.
    if (chain.Count("Documents") > 0) {
      chain.Call(chain.Object("ActiveDocument"), "Close", {{"SaveChanges", std::int32_t{0}}});
    }
    if (!chain.failed() && chain.Count("Documents") == 0) chain.Call("Quit");
  } else if (settings.app == kPowerPoint) {
    if (chain.Count("Presentations") > 0) {
      // Marked as saved, so that closing asks nothing.
      const AutomationObjectPtr presentation = chain.Object("ActivePresentation");
      chain.Put(presentation, "Saved", std::int32_t{-1});
      chain.Call(presentation, "Close");
    }
    if (!chain.failed() && chain.Count("Presentations") == 0) chain.Call("Quit");
  } else if (settings.app == kAccess) {
    chain.Call("Quit", {Positional(std::int32_t{2})});
  }
  return chain.failed();
}

int ShutDownOfficeApplication(const OfficeSettings& settings, OfficeEnvironment& environment) {
  int calls = 0;
  while (calls < kMaxShutdownCalls) {
    ++calls;
    if (CloseOfficeApplication(settings, environment)) break;
  }
  return calls;
}

}  // namespace examora
