// The host's SDK dialogs, reached through the interface access the host registered.
#pragma once

#include "designer/window_system.hpp"

namespace qb::host {

// Hands the request to the host in a slot of its own, returns the host's Boolean and the slot's
// text afterwards, and releases the slot.
designer::HostAnswer CallHostInterface(int number, std::string_view request);

// Both operations bound to the registered interface access.
designer::HostInterfaces RegisteredHostInterfaces();

}  // namespace qb::host
