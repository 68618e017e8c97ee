// Select options written as one comma-separated text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb::model {

// Items are separated by commas and by runs of blanks or control characters; a double-quoted
// item may hold both, with "" standing for one quote. Items are trimmed; empty ones dropped.
// "Red, Green,Blue" -> Red, Green, Blue; "Light Blue, Navy" -> Light, Blue, Navy.
std::vector<std::string> SplitOptionText(std::string_view text);

}  // namespace qb::model
