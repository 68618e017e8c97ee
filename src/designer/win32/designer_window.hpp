// The Win32 view of the designer window.
#pragma once

#include "designer/designer_form.hpp"
#include "designer/win32/win32_ui_port.hpp"

namespace qb::designer::win32 {

// Builds the window, runs it modally until the controller closes, and destroys it.
void ShowDesigner(DesignerForm& form, Win32UiPort& ui);

}  // namespace qb::designer::win32
