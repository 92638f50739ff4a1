#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Late-bound automation of the office applications a practical part is worked in: the running
// application's object is taken from the system (never started), and its properties and
// methods are reached by name, as a script would.
//
// Windows: COM. CLSIDFromProgID + GetActiveObject find the running application; names go
// through IDispatch::GetIDsOfNames and Invoke, named arguments included; values are converted
// to and from VARIANT. COM is initialised on the calling thread (apartment-threaded) when it is
// not yet; every call must come from that thread.
// POSIX: no application can be reached; GetActiveAutomationObject always fails.
//
// Nothing here throws. Every call returns whether it worked and, when not, the application's
// or the system's text.
namespace examora {

class AutomationObject;
using AutomationObjectPtr = std::shared_ptr<AutomationObject>;

// The value kinds the office applications hand out and take: nothing, truth values, integers,
// floating point, text (UTF-8) and objects.
using AutomationValue =
    std::variant<std::monostate, bool, std::int32_t, double, std::string, AutomationObjectPtr>;

// One argument of a call. An empty name passes it by position, otherwise by that name (e.g.
// "SaveChanges"), as the application's documentation lists it.
struct AutomationArg {
  std::string name;
  AutomationValue value;
};

struct AutomationResult {
  bool ok = false;
  AutomationValue value;
  std::string error;      // when !ok: the application's or the system's text
  std::int32_t code = 0;  // when !ok: HRESULT on Windows, 0 where there is none

  // Conversions for the common cases; false when the value has another kind.
  bool Text(std::string& out) const;  // text, or an integer/floating point number as text
  bool Integer(std::int32_t& out) const;
  AutomationObjectPtr Object() const;  // null unless an object

  static AutomationResult Success(AutomationValue v = {}) { return {true, std::move(v), {}, 0}; }
  static AutomationResult Failure(std::string text, std::int32_t code = 0) {
    return {false, {}, std::move(text), code};
  }
};

// One object of an application (the application itself, a collection, a document).
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;

  // Reads a property; `args` for indexed properties such as Item(1).
  [[nodiscard]] virtual AutomationResult Get(std::string_view property,
                                             const std::vector<AutomationArg>& args = {}) = 0;
  [[nodiscard]] virtual AutomationResult Put(std::string_view property,
                                             const AutomationValue& value) = 0;
  // Calls a method; omitted optional arguments are simply not passed.
  [[nodiscard]] virtual AutomationResult Call(std::string_view method,
                                              const std::vector<AutomationArg>& args = {}) = 0;
};

// The running application registered under the program identifier (e.g. "Excel.Application"),
// as an object in the result; a failure when it is not running or cannot be reached.
[[nodiscard]] AutomationResult GetActiveAutomationObject(std::string_view programId);

}  // namespace examora
