// The Win32 window system: visual styles, the UI port and the two modal windows.
#include <memory>

#include "designer/win32/action_editor_window.hpp"
#include "designer/win32/designer_window.hpp"
#include "designer/win32/win32_ui_port.hpp"
#include "designer/win32/window_kit.hpp"

namespace qb::designer {
namespace {

class Win32WindowSystem : public WindowSystem {
 public:
  explicit Win32WindowSystem(const HostInterfaces& host) : ui_(host) {}
  UiPort& Ui() override { return ui_; }
  void RunDesigner(DesignerForm& form) override { win32::ShowDesigner(form, ui_); }
  void RunActionEditor(ActionEditor& editor) override { win32::ShowActionEditor(editor, ui_); }

 private:
  win32::VisualStyles styles_;
  win32::Win32UiPort ui_;
};

}  // namespace

std::unique_ptr<WindowSystem> OpenPlatformWindowSystem(const HostInterfaces& host) {
  return std::make_unique<Win32WindowSystem>(host);
}

}  // namespace qb::designer
