// Runs the two modal windows on whatever window system the build has, and the entry operations
// that the plug-in's actions and its properties dialog use.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "designer/action_editor.hpp"
#include "designer/designer_form.hpp"
#include "designer/ui_port.hpp"

namespace qb::designer {

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual UiPort& Ui() = 0;
  // Each shows its window modally and returns when the controller reports it closed.
  virtual void RunDesigner(DesignerForm& form) = 0;
  virtual void RunActionEditor(ActionEditor& editor) = 0;
};

// The host's SDK dialogs, as the plug-in boundary reaches them.
struct HostInterfaces {
  std::function<bool()> available;
  std::function<HostAnswer(int number, std::string_view request)> call;
};

using WindowSystemFactory = std::function<std::unique_ptr<WindowSystem>(const HostInterfaces&)>;

// The build's window system. Throws std::runtime_error "The designer window needs Windows."
// where the build has none.
std::unique_ptr<WindowSystem> OpenWindowSystem(const HostInterfaces& host);

// Replaces the build's window system (tests install a scripted one); an empty factory restores it.
void SetWindowSystemFactory(WindowSystemFactory factory);

// Opens the designer on path (trimmed). True when it closed with "Save && Close"; path then
// holds the saved project file. Otherwise path is left as the caller passed it.
bool ExecuteDesigner(WindowSystem& windows, std::string& path, bool allow_generate);

}  // namespace qb::designer
