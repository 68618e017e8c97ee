// The host's request to edit an action's parameters.
#pragma once

namespace qb::host {

// Opens the designer for action 8 and the properties dialog for the others; true when the user
// confirmed and the slots were updated. Writes no slot beyond last_index. Throws when no window
// can be shown.
bool EditAction(int action_id, char** slots, int last_index);

}  // namespace qb::host
