// File-system paths built from and read back as UTF-8, on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qb {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

// Absolute against the current folder, with "." and ".." resolved lexically.
std::string ExpandPath(std::string_view text);

}  // namespace qb
