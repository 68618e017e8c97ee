// The one JSON text layout of the system: two-space indent, CR LF, no final line break.
#pragma once

#include <string>

#include "core/json_value.hpp"

namespace qb::json {

std::string Write(const Value& value);

// Appends value in Write's layout as it stands `level` containers deep (its first line unindented).
void AppendTo(std::string& out, const Value& value, int level);

// "true" or "false", as JSON writes a Boolean.
inline const char* BooleanText(bool value) { return value ? "true" : "false"; }

}  // namespace qb::json
