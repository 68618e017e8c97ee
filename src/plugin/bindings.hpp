// Action bindings: read the slots, call one operation, yield the result.
#pragma once

#include <string>

#include "plugin/action_params.hpp"

namespace qb::host {

struct ActionOutcome {
  std::string variable;  // host variable that receives the text
  std::string text;      // result text starting with OK|, WARNING|, ERROR| or CANCEL|
  bool ok;
};

// Runs the binding of an action. Throws std::runtime_error for an unknown ID, and when the
// designer's window cannot be shown.
ActionOutcome RunBinding(int action_id, const ActionParams& params);

}  // namespace qb::host
