// Platform seam of the host boundary: host text encoding and host-owned memory blocks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qb::host {

// UTF-8 to the host's 8-bit encoding (the ANSI code page on Windows) and back.
std::string ToHostEncoding(std::string_view utf8);
std::string FromHostEncoding(std::string_view host_text);

// Blocks the host owns: GlobalAlloc(GMEM_FIXED)/GlobalFree on Windows, malloc/free elsewhere.
char* AllocHostBlock(std::size_t size);
void FreeHostBlock(char* block);

}  // namespace qb::host
