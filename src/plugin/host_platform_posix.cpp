// Host seam outside Windows: UTF-8 passes through, blocks come from malloc.
#include <cstdlib>

#include "plugin/host_platform.hpp"

namespace qb::host {

std::string ToHostEncoding(std::string_view utf8) { return std::string(utf8); }
std::string FromHostEncoding(std::string_view host_text) { return std::string(host_text); }

char* AllocHostBlock(std::size_t size) { return static_cast<char*>(std::malloc(size)); }
void FreeHostBlock(char* block) { std::free(block); }

}  // namespace qb::host
