// Text slots exchanged with the host.
#include "plugin/host_text.hpp"

#include <cstring>

#include "plugin/host_platform.hpp"

namespace qb::host {

std::string HostTextToString(char* const* slot) {
  if (slot == nullptr || *slot == nullptr) return {};
  return FromHostEncoding(*slot);
}

void ReturnHostText(char** slot, std::string_view utf8) {
  if (slot == nullptr) return;
  FreeHostText(slot);
  const std::string text = ToHostEncoding(utf8);
  char* block = AllocHostBlock(text.size() + 1);
  if (block == nullptr) return;
  std::memcpy(block, text.c_str(), text.size() + 1);
  *slot = block;
}

void FreeHostText(char** slot) {
  if (slot == nullptr || *slot == nullptr) return;
  FreeHostBlock(*slot);
  *slot = nullptr;
}

}  // namespace qb::host
