// What the host handed over through the exports; lives as long as the library is loaded.
#pragma once

#include <string_view>

#include "plugin/host_abi.hpp"

namespace qb::host {

struct HostState {
  void* host_value = nullptr;
  RegisterActionFn register_action = nullptr;
  void* callback2 = nullptr;
  void* callback3 = nullptr;
  SetVariableFn set_variable = nullptr;
  void* script_processor = nullptr;
  InterfaceAccessFn interface_access = nullptr;
};

HostState& State();

// Writes a host variable; does nothing without a callback or a name.
void SetHostVariable(std::string_view name, std::string_view value);

}  // namespace qb::host
