// Where the generated application goes: the project's output folder made absolute.
#pragma once

#include <string>
#include <string_view>

namespace qb::designer {

enum class PathStyle { Windows, Posix };

#if defined(_WIN32)
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// Windows: "/" becomes "\"; a folder without drive, UNC prefix or leading "\" resolves against
// the project file's folder (or current_folder when there is no project file), "." and ".."
// resolved. Posix: a relative folder resolves the same way; an absolute one stays as entered.
// An empty (or blank) setting gives an empty result.
std::string ResolveOutputFolderFor(std::string_view output_directory, std::string_view project_file,
                                   std::string_view current_folder, PathStyle style);

// The process's current folder as UTF-8.
std::string CurrentFolder();

}  // namespace qb::designer
