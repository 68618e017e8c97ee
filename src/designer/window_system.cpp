// The window-system seam and the designer's entry operation.
#include "designer/window_system.hpp"

#include <stdexcept>
#include <utility>

#include "core/utf8.hpp"

namespace qb::designer {
namespace {

WindowSystemFactory& InstalledFactory() {
  static WindowSystemFactory factory;
  return factory;
}

}  // namespace

// Defined by the build's window system: the Win32 windows, or none.
std::unique_ptr<WindowSystem> OpenPlatformWindowSystem(const HostInterfaces& host);

std::unique_ptr<WindowSystem> OpenWindowSystem(const HostInterfaces& host) {
  if (const WindowSystemFactory& factory = InstalledFactory()) return factory(host);
  return OpenPlatformWindowSystem(host);
}

void SetWindowSystemFactory(WindowSystemFactory factory) { InstalledFactory() = std::move(factory); }

bool ExecuteDesigner(WindowSystem& windows, std::string& path, bool allow_generate) {
  DesignerForm form(windows.Ui(), Trim(path), allow_generate);
  windows.RunDesigner(form);
  if (form.Result() != ModalResult::Ok) return false;
  path = form.FileName();
  return true;
}

}  // namespace qb::designer
