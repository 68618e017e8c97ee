// Message box titles.
#include "designer/ui_port.hpp"

namespace qb::designer {

std::string_view MessageTitle(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning: return "Warning";
    case MessageKind::Error: return "Error";
    case MessageKind::Information: return "Information";
    case MessageKind::Confirmation: return "Confirm";
  }
  return "";
}

}  // namespace qb::designer
