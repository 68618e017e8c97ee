// Action bindings.
#include "plugin/bindings.hpp"

#include <stdexcept>

#include "check/project_file_check.hpp"
#include "check/project_validator.hpp"
#include "core/utf8.hpp"
#include "generator/crud_generator.hpp"
#include "generator/crud_theme.hpp"
#include "generator/generate_application.hpp"
#include "designer/window_system.hpp"
#include "plan/plan_writer.hpp"
#include "plugin/host_interfaces.hpp"

namespace qb::host {
namespace {

constexpr std::string_view kVersion = "Quillbarrow Generator 0.9.0 | Stage 9 Design-Time Database Designer";

ActionOutcome GetVersion(const ActionParams& p) { return {p.Text(0), std::string(kVersion), true}; }

ActionOutcome CheckProject(const ActionParams& p) {
  std::string text = CheckProjectFile(p.Text(0));
  const bool ok = !text.starts_with("ERROR|");
  return {p.Text(1), std::move(text), ok};
}

// Actions 3 and 4 differ only in the success text.
ActionOutcome ValidateProject(const ActionParams& p, bool with_validation_message) {
  const ValidationOutcome v = ValidateProjectFile(p.Text(0));
  if (!v.ok) return {p.Text(1), "ERROR|" + Trim(v.message), false};
  const std::string prefix = with_validation_message ? v.message + " " : "";
  return {p.Text(1), "OK|" + prefix + v.model->Summary(), true};
}

ActionOutcome CreatePlan(const ActionParams& p) {
  const PlanOutcome plan = CreateGenerationPlan(p.Text(0), p.Text(1));
  if (!plan.ok) return {p.Text(2), "ERROR|" + plan.message, false};
  return {p.Text(2), "OK|" + plan.message + "; plan=" + p.Text(1), true};
}

ActionOutcome Generate(const ActionParams& p) {
  const gen::GenerationOutcome g = gen::GenerateApplication(p.Text(0), p.Text(1));
  return {p.Text(2), (g.ok ? "OK|" : "ERROR|") + g.message, g.ok};
}

// Six slots carry preset, layout and accent; the older three-slot form uses the defaults.
ActionOutcome GenerateCrud(const ActionParams& p) {
  const bool six_slots = p.Count() >= 6;
  const std::string variable = p.Text(six_slots ? 5 : 2);
  const gen::GenerationOutcome g =
      six_slots ? gen::GenerateCRUDApplication(p.Text(0), p.Text(1), p.Text(2), p.Text(3), p.Text(4))
                : gen::GenerateCRUDApplication(p.Text(0), p.Text(1), gen::kDefaultPreset, gen::kDefaultLayout,
                                               gen::kDefaultAccent);
  return {variable, (g.ok ? "OK|" : "ERROR|") + g.message, g.ok};
}

ActionOutcome DesignDatabase(const ActionParams& p) {
  const std::unique_ptr<designer::WindowSystem> windows = designer::OpenWindowSystem(RegisteredHostInterfaces());
  std::string path = p.Text(0);
  if (designer::ExecuteDesigner(*windows, path, true)) return {p.Text(1), "OK|" + path, true};
  return {p.Text(1), "CANCEL|" + p.Text(0), false};
}

}  // namespace

ActionOutcome RunBinding(int action_id, const ActionParams& params) {
  switch (action_id) {
    case 1: return GetVersion(params);
    case 2: return CheckProject(params);
    case 3: return ValidateProject(params, true);
    case 4: return ValidateProject(params, false);
    case 5: return CreatePlan(params);
    case 6: return Generate(params);
    case 7: return GenerateCrud(params);
    case 8: return DesignDatabase(params);
  }
  throw std::runtime_error("unknown action ID.");
}

}  // namespace qb::host
