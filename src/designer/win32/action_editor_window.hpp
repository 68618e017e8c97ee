// The Win32 view of the action properties dialog.
#pragma once

#include "designer/action_editor.hpp"
#include "designer/win32/win32_ui_port.hpp"

namespace qb::designer::win32 {

// Builds the dialog, runs it modally until the controller closes, and destroys it.
void ShowActionEditor(ActionEditor& editor, Win32UiPort& ui);

}  // namespace qb::designer::win32
