// Builds without a window system: the designer windows cannot open.
#include <stdexcept>

#include "designer/window_system.hpp"

namespace qb::designer {

std::unique_ptr<WindowSystem> OpenPlatformWindowSystem(const HostInterfaces&) {
  throw std::runtime_error("The designer window needs Windows.");
}

}  // namespace qb::designer
