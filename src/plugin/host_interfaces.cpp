// The host's SDK dialogs.
#include "plugin/host_interfaces.hpp"

#include "plugin/host_state.hpp"
#include "plugin/host_text.hpp"

namespace qb::host {

designer::HostAnswer CallHostInterface(int number, std::string_view request) {
  const InterfaceAccessFn access = State().interface_access;
  if (access == nullptr) return {};
  char* slot = nullptr;
  ReturnHostText(&slot, request);
  designer::HostAnswer answer;
  try {
    answer.ok = (access(number, &slot) & 0xFF) != 0;
    answer.text = HostTextToString(&slot);
  } catch (...) {
    FreeHostText(&slot);
    throw;
  }
  FreeHostText(&slot);
  return answer;
}

designer::HostInterfaces RegisteredHostInterfaces() {
  return {[] { return State().interface_access != nullptr; }, CallHostInterface};
}

}  // namespace qb::host
