#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "completion/model/OfficeCheck.h"

// An office application played by a script, behind the office rules' seam: which program runs,
// its version, its open documents, calls that fail, and an application that keeps answering
// but never goes away. Every call the rules make is recorded in order, e.g.
// "Workbooks.Item(2).Close()", "ActiveDocument.Close(SaveChanges=0)", "Quit(2)".
namespace examora::test {

class ScriptedOffice final : public OfficeEnvironment {
 public:
  struct Script {
    std::string programId = "Excel.Application";
    std::string windowClass = "XLMAIN";
    std::string version = "16.0";
    int documents = 0;
    bool hasWindow = true;        // a main window of windowClass exists while running
    bool objectReachable = true;  // GetActiveObject finds it while running
    bool neverGoesAway = false;   // Quit answers but the application stays
    // Members that raise an automation error: "Version", "ActiveWorkbook", "Quit", "Close", …
    std::set<std::string> failing;
  };

  explicit ScriptedOffice(Script script);
  ~ScriptedOffice() override;

  std::optional<WindowId> FindWindowByClass(const std::string& className) override;
  AutomationResult GetActiveObject(const std::string& programId) override;
  void BringToFront(WindowId window) override;

  // What happened so far.
  const std::vector<std::string>& Calls() const;
  int OpenDocuments() const;
  bool Running() const;
  int ObjectRequests() const;
  std::vector<WindowId> BroughtToFront() const;

  static constexpr WindowId kMainWindow = 0x4711;

  struct State;  // shared with the objects handed out, which outlive no test

 private:
  std::shared_ptr<State> state_;
};

}  // namespace examora::test
