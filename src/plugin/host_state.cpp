// Host state and the one writer of host variables.
#include "plugin/host_state.hpp"

#include <string>

#include "plugin/host_platform.hpp"

namespace qb::host {

HostState& State() {
  static HostState state;
  return state;
}

void SetHostVariable(std::string_view name, std::string_view value) {
  if (State().set_variable == nullptr || name.empty()) return;
  std::string host_name = ToHostEncoding(name);
  std::string host_value = ToHostEncoding(value);
  State().set_variable(host_name.data(), host_value.data());
}

}  // namespace qb::host
