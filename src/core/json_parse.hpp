// JSON text to an ordered value.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/json_value.hpp"

namespace qb::json {

// Deeper documents are invalid, so no recursive copy, destructor or writer can exhaust the stack.
inline constexpr std::size_t kMaxDepth = 512;

// Parses one JSON document; nothing when the text is not valid JSON (malformed, invalid UTF-8,
// nested deeper than kMaxDepth). A repeated member name keeps its first place and its last value.
std::optional<Value> Parse(std::string_view text);

}  // namespace qb::json
