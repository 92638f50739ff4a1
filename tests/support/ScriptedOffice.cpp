#include "ScriptedOffice.h"

#include <variant>

namespace examora::test {

struct ScriptedOffice::State {
  Script script;
  bool running = true;
  int documents = 0;
  int objectRequests = 0;
  std::vector<std::string> calls;
  std::vector<WindowId> front;

  std::string CollectionName() const {
    if (script.programId == "Word.Application") return "Documents";
    if (script.programId == "PowerPoint.Application") return "Presentations";
    return "Workbooks";
  }
  std::string ActiveName() const {
    if (script.programId == "Word.Application") return "ActiveDocument";
    if (script.programId == "PowerPoint.Application") return "ActivePresentation";
    return "ActiveWorkbook";
  }
  bool Fails(const std::string& member) const { return script.failing.count(member) > 0; }
};

namespace {

std::string Show(const AutomationValue& value) {
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  if (const auto* text = std::get_if<std::string>(&value)) return '"' + *text + '"';
  return "?";
}

std::string Arguments(const std::vector<AutomationArg>& args) {
  std::string text = "(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i) text += ',';
    if (!args[i].name.empty()) text += args[i].name + '=';
    text += Show(args[i].value);
  }
  return text + ')';
}

using StatePtr = std::shared_ptr<ScriptedOffice::State>;

AutomationResult Error(const std::string& member) {
  return AutomationResult::Failure(member + ": scripted automation error",
                                   static_cast<std::int32_t>(0x80020009));
}

// One open document (index 1-based at the time it was reached; "Active…" when 0).
class Document final : public AutomationObject {
 public:
  Document(StatePtr state, std::string path) : state_(std::move(state)), path_(std::move(path)) {}

  AutomationResult Get(std::string_view property, const std::vector<AutomationArg>&) override {
    return Error(path_ + '.' + std::string(property));
  }
  AutomationResult Put(std::string_view property, const AutomationValue& value) override {
    state_->calls.push_back(path_ + '.' + std::string(property) + '=' + Show(value));
    if (state_->Fails(std::string(property))) return Error(std::string(property));
    return AutomationResult::Success();
  }
  AutomationResult Call(std::string_view method, const std::vector<AutomationArg>& args) override {
    state_->calls.push_back(path_ + '.' + std::string(method) + Arguments(args));
    if (method != "Close" || state_->Fails("Close") || state_->documents == 0) {
      return Error(std::string(method));
    }
    --state_->documents;
    return AutomationResult::Success();
  }

 private:
  StatePtr state_;
  std::string path_;
};

class Collection final : public AutomationObject {
 public:
  explicit Collection(StatePtr state) : state_(std::move(state)) {}

  AutomationResult Get(std::string_view property, const std::vector<AutomationArg>& args) override {
    if (property == "Count") return AutomationResult::Success(std::int32_t{state_->documents});
    if (property == "Item" && args.size() == 1) {
      const auto* index = std::get_if<std::int32_t>(&args[0].value);
      if (index && *index >= 1 && *index <= state_->documents) {
        return AutomationResult::Success(AutomationObjectPtr(std::make_shared<Document>(
            state_, state_->CollectionName() + ".Item(" + std::to_string(*index) + ')')));
      }
    }
    return Error(std::string(property));
  }
  AutomationResult Put(std::string_view property, const AutomationValue&) override {
    return Error(std::string(property));
  }
  AutomationResult Call(std::string_view method, const std::vector<AutomationArg>&) override {
    return Error(std::string(method));
  }

 private:
  StatePtr state_;
};

class Application final : public AutomationObject {
 public:
  explicit Application(StatePtr state) : state_(std::move(state)) {}

  AutomationResult Get(std::string_view property, const std::vector<AutomationArg>&) override {
    const std::string name(property);
    if (!state_->running || state_->Fails(name)) return Error(name);
    if (name == "Version") return AutomationResult::Success(state_->script.version);
    if (name == state_->CollectionName()) {
      return AutomationResult::Success(AutomationObjectPtr(std::make_shared<Collection>(state_)));
    }
    if (name == state_->ActiveName()) {
      // Like the real ones: nothing when no document is open (the spreadsheet), an error
      // otherwise.
      if (state_->documents == 0) {
        if (name == "ActiveWorkbook") return AutomationResult::Success();
        return Error(name);
      }
      return AutomationResult::Success(
          AutomationObjectPtr(std::make_shared<Document>(state_, name)));
    }
    return Error(name);
  }
  AutomationResult Put(std::string_view property, const AutomationValue&) override {
    return Error(std::string(property));
  }
  AutomationResult Call(std::string_view method, const std::vector<AutomationArg>& args) override {
    const std::string name(method);
    state_->calls.push_back(name + Arguments(args));
    if (!state_->running || state_->Fails(name) || name != "Quit") return Error(name);
    if (!state_->script.neverGoesAway) state_->running = false;
    return AutomationResult::Success();
  }

 private:
  StatePtr state_;
};

}  // namespace

ScriptedOffice::ScriptedOffice(Script script) : state_(std::make_shared<State>()) {
  state_->documents = script.documents;
  state_->script = std::move(script);
}

ScriptedOffice::~ScriptedOffice() = default;

std::optional<WindowId> ScriptedOffice::FindWindowByClass(const std::string& className) {
  if (state_->running && state_->script.hasWindow && className == state_->script.windowClass) {
    return kMainWindow;
  }
  return std::nullopt;
}

AutomationResult ScriptedOffice::GetActiveObject(const std::string& programId) {
  ++state_->objectRequests;
  if (!state_->running || !state_->script.objectReachable ||
      programId != state_->script.programId) {
    return AutomationResult::Failure(programId + ": operation unavailable",
                                     static_cast<std::int32_t>(0x800401E3));
  }
  return AutomationResult::Success(AutomationObjectPtr(std::make_shared<Application>(state_)));
}

void ScriptedOffice::BringToFront(WindowId window) {
  state_->front.push_back(window);
}

const std::vector<std::string>& ScriptedOffice::Calls() const {
  return state_->calls;
}
int ScriptedOffice::OpenDocuments() const {
  return state_->documents;
}
bool ScriptedOffice::Running() const {
  return state_->running;
}
int ScriptedOffice::ObjectRequests() const {
  return state_->objectRequests;
}
std::vector<WindowId> ScriptedOffice::BroughtToFront() const {
  return state_->front;
}

}  // namespace examora::test
