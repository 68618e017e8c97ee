// UTF-8 text helpers: ASCII-only letter case, trimming, code-point walking and repair.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qb {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Compares ignoring the case of A-Z / a-z only.
bool SameTextAscii(std::string_view a, std::string_view b);

// Removes bytes <= 0x20 at both ends.
std::string Trim(std::string_view text);

// Byte length of the well-formed code point starting at pos, or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

// Number of code points; each ill-formed byte counts as one.
std::size_t CodePointCount(std::string_view text);

// The first `count` code points of text.
std::string Utf8Prefix(std::string_view text, std::size_t count);

// Appends the UTF-8 encoding of a code point (U+FFFD for values that are not scalar values).
void AppendUtf8(std::string& out, char32_t code_point);

// True when the text holds no ill-formed sequence.
bool IsWellFormedUtf8(std::string_view text);

// Replaces every ill-formed sequence (maximal subpart) with U+FFFD.
std::string RepairUtf8(std::string_view text);

}  // namespace qb
