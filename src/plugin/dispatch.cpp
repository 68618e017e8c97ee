// Action dispatch with the error trap.
#include "plugin/dispatch.hpp"

#include <exception>
#include <string>

#include "plugin/host_state.hpp"

namespace qb::host {
namespace {

constexpr std::string_view kLastError = "[LastError]";

void ReportError(std::string_view message) noexcept {
  try {
    SetHostVariable(kLastError, "Quillbarrow: " + std::string(message));
  } catch (...) {
    // Nothing more can be reported; the Boolean still says the call failed.
  }
}

}  // namespace

bool RunTrapped(const std::function<bool()>& work) noexcept {
  try {
    return work();
  } catch (const std::exception& e) {
    ReportError(e.what());
  } catch (...) {
    ReportError("unexpected error.");
  }
  return false;
}

bool DeliverTrapped(const std::function<ActionOutcome()>& work) noexcept {
  return RunTrapped([&] {
    const ActionOutcome outcome = work();
    SetHostVariable(outcome.variable, outcome.text);
    return outcome.ok;
  });
}

bool ExecuteAction(int action_id, const ActionParams& params) noexcept {
  return DeliverTrapped([&] { return RunBinding(action_id, params); });
}

}  // namespace qb::host
