#include "platform/OfficeAutomation.h"

#include <cstdio>

namespace examora {

bool AutomationResult::Text(std::string& out) const {
  if (const auto* text = std::get_if<std::string>(&value)) {
    out = *text;
    return true;
  }
  if (const auto* number = std::get_if<std::int32_t>(&value)) {
    out = std::to_string(*number);
    return true;
  }
  if (const auto* real = std::get_if<double>(&value)) {
    // Versions such as 16.0 come as text; a number still reads the way a script would print it.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", *real);
    out = buffer;
    if (out.find_first_of(".e") == std::string::npos) out += ".0";
    return true;
  }
  return false;
}

bool AutomationResult::Integer(std::int32_t& out) const {
  if (const auto* number = std::get_if<std::int32_t>(&value)) {
    out = *number;
    return true;
  }
  return false;
}

AutomationObjectPtr AutomationResult::Object() const {
  if (const auto* object = std::get_if<AutomationObjectPtr>(&value)) return *object;
  return nullptr;
}

}  // namespace examora
