// Numbers held as text.
#include "model/number_text.hpp"

#include <charconv>
#include <string>

#include "core/utf8.hpp"

namespace qb::model {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Consumes an optional sign at pos.
void SkipSign(std::string_view text, std::size_t& pos) {
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
}

// Consumes digits at pos; false when there are none.
bool SkipDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos > start;
}

}  // namespace

bool IsNumericText(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::size_t pos = 0;
  SkipSign(trimmed, pos);
  if (!SkipDigits(trimmed, pos)) return false;
  if (pos < trimmed.size() && trimmed[pos] == '.' && !SkipDigits(trimmed, ++pos)) return false;
  if (pos < trimmed.size() && (trimmed[pos] == 'e' || trimmed[pos] == 'E')) {
    SkipSign(trimmed, ++pos);
    if (!SkipDigits(trimmed, pos)) return false;
  }
  return pos == trimmed.size();
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  const std::string trimmed = Trim(text);
  // from_chars takes "-" but not "+".
  const std::size_t start = trimmed.starts_with('+') ? 1 : 0;
  if (start == 1 && trimmed.size() > 1 && !IsDigit(trimmed[1])) return std::nullopt;
  std::int32_t value = 0;
  const char* first = trimmed.data() + start;
  const char* last = trimmed.data() + trimmed.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

}  // namespace qb::model
