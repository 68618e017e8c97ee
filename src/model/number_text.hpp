// Numbers held as text: decimal number syntax and whole numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qb::model {

// Trimmed text is a decimal number: optional sign, digits, optional "." with digits,
// optional exponent (e or E, optional sign, digits).
bool IsNumericText(std::string_view text);

// Trimmed text is a whole number (optional sign, digits) that fits 32 bits; nothing otherwise.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

}  // namespace qb::model
