// Action dispatch with the error trap.
#include "plugin/dispatch.hpp"

#include <exception>
#include <string>

#include "plugin/bindings.hpp"
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

bool ExecuteAction(int action_id, const ActionParams& params) noexcept {
  try {
    const Binding binding = FindBinding(action_id);
    if (binding == nullptr) {
      ReportError("unknown action ID.");
      return false;
    }
    const ActionOutcome outcome = binding(params);
    SetHostVariable(outcome.variable, outcome.text);
    return outcome.ok;
  } catch (const std::exception& e) {
    ReportError(e.what());
  } catch (...) {
    ReportError("unexpected error.");
  }
  return false;
}

}  // namespace qb::host
