// What the action properties dialog shows for each action: rows, captions, defaults, buttons.
#pragma once

#include <string>
#include <string_view>

namespace qb::designer {

enum class BrowseKind { None = 0, OpenProject = 1, SavePlan = 2, ChooseFolder = 3 };

int ActionParamCount(int action_id);
std::string_view ActionEditorTitle(int action_id);
std::string_view ActionParamCaption(int action_id, int index);
std::string_view ActionParamDefault(int action_id, int index);
BrowseKind ActionParamBrowseKind(int action_id, int index);
bool IsVariableParam(int action_id, int index);

// The host slot that holds the dialog's row `index`, or -1 when the call has no slot for it.
// The older three-slot form of the CRUD action keeps its result variable in slot 2.
int ParamSlotIndex(int action_id, int index, int slot_count);

}  // namespace qb::designer
