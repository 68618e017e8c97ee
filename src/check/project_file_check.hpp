// Quick check that a path names an existing .json file.
#pragma once

#include <string>
#include <string_view>

namespace qb {

// A complete result text ("OK|...", "WARNING|..." or "ERROR|..."); never throws.
std::string CheckProjectFile(std::string_view path);

}  // namespace qb
