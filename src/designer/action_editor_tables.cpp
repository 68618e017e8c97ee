// The per-action tables of the action properties dialog.
#include "designer/action_editor_tables.hpp"

#include <array>

namespace qb::designer {
namespace {

constexpr int kCrudAction = 7;
constexpr int kCrudVariableRow = 5;
constexpr int kCrudOlderSlotCount = 3;

constexpr std::string_view kProjectCaption = "Project JSON file:";
constexpr std::string_view kVariableCaption = "Output variable name:";
constexpr std::string_view kDemoProject = "C:\\QuillbarrowDemo\\crud-project.json";

struct ActionRows {
  std::string_view title;
  std::array<std::string_view, 6> captions;
  std::array<std::string_view, 6> defaults;
  int count;
};

constexpr std::array<ActionRows, 8> kActions = {{
    {"KTBGetVersion Properties", {kVariableCaption}, {"[KTBVersion]"}, 1},
    {"KTBCheckProjectFile Properties", {kProjectCaption, kVariableCaption}, {kDemoProject, "[KTBCheckResult]"}, 2},
    {"KTBValidateProject Properties", {kProjectCaption, kVariableCaption}, {kDemoProject, "[KTBValidateResult]"}, 2},
    {"KTBGetProjectSummary Properties", {kProjectCaption, kVariableCaption}, {kDemoProject, "[KTBSummaryResult]"}, 2},
    {"KTBCreateGenerationPlan Properties",
     {kProjectCaption, "Generation plan output file:", kVariableCaption},
     {kDemoProject, "C:\\QuillbarrowDemo\\output\\library-demo-plan.json", "[KTBPlanResult]"},
     3},
    {"KTBGenerateApplication Properties",
     {kProjectCaption, "Output directory:", kVariableCaption},
     {kDemoProject, "C:\\QuillbarrowDemo\\output\\base-app", "[KTBGenerateResult]"},
     3},
    {"KTBGenerateCRUDApplication Properties",
     {kProjectCaption, "Output directory:", "Frontend preset (studio / midnight / editorial / campus):",
      "Page layout (wide / centered / dashboard):", "Accent colour (hex, e.g. #2563eb):", kVariableCaption},
     {"C:\\QuillbarrowDemo\\demo.json", "C:\\QuillbarrowDemo\\output\\library-pro", "studio", "dashboard", "#2563eb",
      "[KTBCRUDResult]"},
     6},
    {"KTBDesignDatabase Properties", {kProjectCaption, kVariableCaption}, {kDemoProject, "[KTBDesignResult]"}, 2},
}};

const ActionRows* Find(int action_id) {
  return action_id >= 1 && action_id <= 8 ? &kActions[static_cast<std::size_t>(action_id - 1)] : nullptr;
}

bool ValidRow(int action_id, int index) { return index >= 0 && index < ActionParamCount(action_id); }

}  // namespace

int ActionParamCount(int action_id) {
  const ActionRows* rows = Find(action_id);
  return rows ? rows->count : 0;
}

std::string_view ActionEditorTitle(int action_id) {
  const ActionRows* rows = Find(action_id);
  return rows ? rows->title : "Quillbarrow Generator Properties";
}

std::string_view ActionParamCaption(int action_id, int index) {
  return ValidRow(action_id, index) ? Find(action_id)->captions[static_cast<std::size_t>(index)] : "Parameter:";
}

std::string_view ActionParamDefault(int action_id, int index) {
  return ValidRow(action_id, index) ? Find(action_id)->defaults[static_cast<std::size_t>(index)] : "";
}

BrowseKind ActionParamBrowseKind(int action_id, int index) {
  if (index == 0 && action_id >= 2 && action_id <= 8) return BrowseKind::OpenProject;
  if (index == 1 && action_id == 5) return BrowseKind::SavePlan;
  if (index == 1 && (action_id == 6 || action_id == 7)) return BrowseKind::ChooseFolder;
  return BrowseKind::None;
}

bool IsVariableParam(int action_id, int index) {
  if (action_id == kCrudAction) return index == kCrudVariableRow;
  return action_id >= 1 && action_id <= 8 && index == ActionParamCount(action_id) - 1;
}

int ParamSlotIndex(int action_id, int index, int slot_count) {
  if (!ValidRow(action_id, index)) return -1;
  if (action_id == kCrudAction && slot_count < ActionParamCount(kCrudAction)) {
    if (index == kCrudVariableRow) return slot_count >= kCrudOlderSlotCount ? kCrudOlderSlotCount - 1 : -1;
    return index < kCrudOlderSlotCount - 1 && index < slot_count ? index : -1;
  }
  return index < slot_count ? index : -1;
}

}  // namespace qb::designer
