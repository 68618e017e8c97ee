// Action bindings.
#include "plugin/bindings.hpp"

#include <stdexcept>

#include "check/project_file_check.hpp"
#include "plugin/action_table.hpp"

namespace qb::host {
namespace {

constexpr std::string_view kVersion = "Quillbarrow Generator 0.9.0 | Stage 9 Design-Time Database Designer";

ActionOutcome GetVersion(const ActionParams& p) { return {p.Text(0), std::string(kVersion), true}; }

ActionOutcome CheckProject(const ActionParams& p) {
  std::string text = CheckProjectFile(p.Text(0));
  const bool ok = !text.starts_with("ERROR|");
  return {p.Text(1), std::move(text), ok};
}

}  // namespace

ActionOutcome RunBinding(int action_id, const ActionParams& params) {
  switch (action_id) {
    case 1: return GetVersion(params);
    case 2: return CheckProject(params);
  }
  if (FindAction(action_id) == nullptr) throw std::runtime_error("unknown action ID.");
  throw std::runtime_error("action " + std::to_string(action_id) + " is not available in this build.");
}

}  // namespace qb::host
