// Text slots exchanged with the host.
#pragma once

#include <string>
#include <string_view>

namespace qb::host {

// Reads a slot as UTF-8; a null slot or null text reads as empty.
std::string HostTextToString(char* const* slot);

// Releases the slot's old block, then stores a new host block holding text in host encoding.
// When the allocation fails the slot stays null; a missing slot is skipped.
void ReturnHostText(char** slot, std::string_view utf8);

// Releases a block the host handed over and clears the slot.
void FreeHostText(char** slot);

}  // namespace qb::host
