// The host's request to edit an action's parameters.
#include "plugin/edit_action.hpp"

#include <string>
#include <vector>

#include "designer/window_system.hpp"
#include "plugin/host_interfaces.hpp"
#include "plugin/host_text.hpp"

namespace qb::host {
namespace {

constexpr int kDesignAction = 8;
constexpr std::string_view kDesignResultVariable = "[KTBDesignResult]";

bool EditDesignAction(designer::WindowSystem& windows, char** slots, int slot_count) {
  std::string path = slot_count > 0 ? HostTextToString(&slots[0]) : std::string();
  if (!designer::ExecuteDesigner(windows, path, true)) return false;
  if (slot_count > 0) ReturnHostText(&slots[0], path);
  if (slot_count > 1 && HostTextToString(&slots[1]).empty()) ReturnHostText(&slots[1], kDesignResultVariable);
  return true;
}

bool EditWithDialog(designer::WindowSystem& windows, int action_id, char** slots, int slot_count) {
  const int rows = designer::ActionParamCount(action_id);
  std::vector<std::string> existing(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i)
    if (const int slot = designer::ParamSlotIndex(action_id, i, slot_count); slot >= 0)
      existing[static_cast<std::size_t>(i)] = HostTextToString(&slots[slot]);

  designer::ActionEditor editor(windows.Ui(), action_id, existing, [&windows](std::string& path) {
    return designer::ExecuteDesigner(windows, path, true);
  });
  windows.RunActionEditor(editor);
  const auto texts = editor.SaveParams();
  if (!texts) return false;
  for (int i = 0; i < rows; ++i)
    if (const int slot = designer::ParamSlotIndex(action_id, i, slot_count); slot >= 0)
      ReturnHostText(&slots[slot], (*texts)[static_cast<std::size_t>(i)]);
  return true;
}

}  // namespace

bool EditAction(int action_id, char** slots, int last_index) {
  if (designer::ActionParamCount(action_id) == 0) return false;
  const int slot_count = slots == nullptr || last_index < 0 ? 0 : last_index + 1;
  const std::unique_ptr<designer::WindowSystem> windows = designer::OpenWindowSystem(RegisteredHostInterfaces());
  return action_id == kDesignAction ? EditDesignAction(*windows, slots, slot_count)
                                    : EditWithDialog(*windows, action_id, slots, slot_count);
}

}  // namespace qb::host
