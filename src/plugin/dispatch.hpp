// Executes one action call and delivers exactly one host variable.
#pragma once

#include <functional>

#include "plugin/action_params.hpp"
#include "plugin/bindings.hpp"

namespace qb::host {

// Runs the work and writes its result variable; an error of any type lands in "[LastError]"
// instead. Exactly one variable is written. Never throws.
bool DeliverTrapped(const std::function<ActionOutcome()>& work) noexcept;

// Runs work; an error of any type lands in "[LastError]" and gives false. Never throws.
bool RunTrapped(const std::function<bool()>& work) noexcept;

// Runs the action's binding through DeliverTrapped.
bool ExecuteAction(int action_id, const ActionParams& params) noexcept;

}  // namespace qb::host
