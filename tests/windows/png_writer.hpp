// Writes 24-bit pixels as an uncompressed PNG file (stored deflate blocks), for screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb::test {

// rgb holds width * height pixels, three bytes each, rows from the top.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace qb::test
