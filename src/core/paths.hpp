// File-system paths built from and read back as UTF-8, on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qb {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

// Absolute against the current folder, with "." and ".." resolved lexically and no trailing
// separator (except for a root).
std::string ExpandPath(std::string_view text);

// True when the file name ends in ".json", ignoring letter case (".json" alone included).
bool HasJsonExtension(std::string_view path);

// True when path lies below folder (both expanded), comparing ASCII letters without case.
bool IsBelowFolder(std::string_view path, std::string_view folder);

}  // namespace qb
