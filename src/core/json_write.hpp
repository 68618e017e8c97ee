// The one JSON text layout of the system: two-space indent, CR LF, no final line break.
#pragma once

#include <string>
#include <string_view>

#include "core/json_value.hpp"

namespace qb::json {

std::string Write(const Value& value);

// A JSON string literal, quotes included.
std::string Quote(std::string_view text);

}  // namespace qb::json
