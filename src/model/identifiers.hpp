// Identifier rules for table ids and field names, which are SQL identifiers and URL segments.
#pragma once

#include <string>
#include <string_view>

namespace qb::model {

inline constexpr std::size_t kMaxIdentifierLength = 64;

// 1 to 64 characters: a-z first, then a-z, 0-9 or "_".
bool IsValidIdentifier(std::string_view text);

// An identifier built from any text: letters lower-cased, every run of other characters
// (a non-ASCII character counts as one) made one "_", no "_" at either end, "f_" before a
// leading digit, fallback when nothing is left, cut to 64 characters.
std::string SanitizeIdentifier(std::string_view text, std::string_view fallback);

// "order_items" -> "OrderItems"; an empty result gives "Entity".
std::string ClassNameFromId(std::string_view id);

}  // namespace qb::model
