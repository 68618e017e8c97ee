// Comma-separated option text.
#include "model/option_list.hpp"

#include "core/utf8.hpp"

namespace qb::model {
namespace {

bool IsSeparator(char c) { return c == ',' || static_cast<unsigned char>(c) <= 0x20; }

// Reads a quoted item starting at the opening quote; pos ends after the closing quote
// (or at the end of an unterminated item).
std::string ReadQuoted(std::string_view text, std::size_t& pos) {
  std::string item;
  for (++pos; pos < text.size(); ++pos) {
    if (text[pos] != '"') {
      item += text[pos];
    } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
      item += '"';
      ++pos;
    } else {
      ++pos;
      break;
    }
  }
  return item;
}

std::string ReadPlain(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && !IsSeparator(text[pos])) ++pos;
  return std::string(text.substr(start, pos - start));
}

}  // namespace

std::vector<std::string> SplitOptionText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  while (true) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos == text.size()) return items;
    const std::string item = Trim(text[pos] == '"' ? ReadQuoted(text, pos) : ReadPlain(text, pos));
    if (!item.empty()) items.push_back(item);
  }
}

}  // namespace qb::model
