// Strict member lookups on raw JSON: a member of the wrong kind counts as missing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/json_value.hpp"

namespace qb::json {

// Each takes an object or nullptr (none) and gives nothing for a missing or ill-typed member.
const Value* ObjectMember(const Value* object, std::string_view key);
const Value* ArrayMember(const Value* object, std::string_view key);
std::optional<std::string> StringMember(const Value* object, std::string_view key);
// Only the literals true and false count.
std::optional<bool> BooleanMember(const Value* object, std::string_view key);
// Number of elements of an array member; 0 otherwise.
std::size_t ArrayCount(const Value* object, std::string_view key);

}  // namespace qb::json
