// Writes generated files, refusing any path that could leave the output directory.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

// Throws std::runtime_error for an empty, rooted or drive path, or a "." / ".." segment.
void CheckGeneratedPath(std::string_view relative_path);

// Writes text to output_dir/relative_path (UTF-8 without byte-order mark, folders created, file
// replaced). output_dir is absolute. Throws std::runtime_error on an unsafe path or a write failure.
void WriteGeneratedFile(std::string_view output_dir, std::string_view relative_path, std::string_view text);

}  // namespace qb::gen
