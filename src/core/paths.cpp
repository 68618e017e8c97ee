// UTF-8 paths.
#include "core/paths.hpp"

namespace qb {

std::filesystem::path PathFromUtf8(std::string_view text) {
  // char8_t makes the conversion UTF-8 on Windows too, instead of the ANSI code page.
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

std::string ExpandPath(std::string_view text) {
  return PathToUtf8(std::filesystem::absolute(PathFromUtf8(text)).lexically_normal());
}

}  // namespace qb
