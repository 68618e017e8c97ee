// The output directory of a generation and the marker file that identifies generated output.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

inline constexpr std::string_view kMarkerFile = ".kettlebourne-generated";

// True when the folder holds at least one file anywhere below it; folders alone do not count.
// Also true when part of it cannot be read.
bool DirectoryHasFiles(std::string_view dir);

// Throws std::runtime_error when dir holds files but no marker (someone else's folder); creates
// dir with its parents when it is missing.
void PrepareOutputDirectory(std::string_view dir);

std::string MarkerText(std::string_view project_id, bool finished);

}  // namespace qb::gen
