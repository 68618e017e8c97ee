// Identifier rules.
#include "model/identifiers.hpp"

#include <algorithm>

#include "core/utf8.hpp"

namespace qb::model {
namespace {

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsValidIdentifier(std::string_view text) {
  if (text.empty() || text.size() > kMaxIdentifierLength || !IsLower(text.front())) return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return IsLower(c) || IsDigit(c) || c == '_'; });
}

std::string SanitizeIdentifier(std::string_view text, std::string_view fallback) {
  std::string result;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(text, pos), 1);
    const char c = text[pos];
    pos += length;
    if (length == 1 && (IsLower(c) || IsDigit(c))) result += c;
    else if (length == 1 && IsUpper(c)) result += static_cast<char>(c - 'A' + 'a');
    else if (!result.empty() && result.back() != '_') result += '_';
  }
  while (!result.empty() && result.back() == '_') result.pop_back();
  if (!result.empty() && IsDigit(result.front())) result.insert(0, "f_");
  if (result.empty()) result = fallback;
  return Utf8Prefix(result, kMaxIdentifierLength);
}

std::string ClassNameFromId(std::string_view id) {
  std::string result;
  bool word_start = true;
  for (char c : id) {
    if (c == '_') {
      word_start = true;
      continue;
    }
    result += (word_start && IsLower(c)) ? static_cast<char>(c - 'a' + 'A') : c;
    word_start = false;
  }
  return result.empty() ? "Entity" : result;
}

}  // namespace qb::model
