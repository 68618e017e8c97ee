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

using Binding = ActionOutcome (*)(const ActionParams&);

// The binding of a registered action; nullptr for an unknown ID. Throws for an action this build
// cannot run yet.
Binding FindBinding(int action_id);

}  // namespace qb::host
