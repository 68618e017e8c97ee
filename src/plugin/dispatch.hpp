// Executes one action call and delivers exactly one host variable.
#pragma once

#include "plugin/action_params.hpp"

namespace qb::host {

// Runs the action's binding and writes its result variable; every error, of any type, lands in
// "[LastError]" instead. Never throws.
bool ExecuteAction(int action_id, const ActionParams& params) noexcept;

}  // namespace qb::host
