// UTF-8 paths.
#include "core/paths.hpp"

#include "core/utf8.hpp"

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
  auto path = std::filesystem::absolute(PathFromUtf8(text)).lexically_normal();
  // "dir/" and "dir" name the same folder.
  if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return PathToUtf8(path);
}

bool HasJsonExtension(std::string_view path) {
  const std::string name = PathToUtf8(PathFromUtf8(path).filename());
  const auto dot = name.rfind('.');
  return dot != std::string::npos && SameTextAscii(std::string_view(name).substr(dot), ".json");
}

bool IsBelowFolder(std::string_view path, std::string_view folder) {
  const std::string prefix = std::string(folder) + static_cast<char>(std::filesystem::path::preferred_separator);
  return path.size() > prefix.size() && SameTextAscii(path.substr(0, prefix.size()), prefix);
}

}  // namespace qb
