// JSON writer.
#include "core/json_write.hpp"

namespace qb::json {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool NeedsEscape(char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; }

// Counts the bytes a std::string would receive, so a text can be sized before it is written.
struct ByteCounter {
  std::size_t size = 0;
  void append(std::string_view text) { size += text.size(); }
  void append(std::size_t count, char) { size += count; }
  ByteCounter& operator+=(std::string_view text) {
    size += text.size();
    return *this;
  }
  ByteCounter& operator+=(char) {
    ++size;
    return *this;
  }
};

template <typename Out>
void AppendQuoted(Out& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (std::size_t pos = 0; pos < text.size();) {
    // Characters that need no escape go in as one run.
    std::size_t end = pos;
    while (end < text.size() && !NeedsEscape(text[end])) ++end;
    out.append(text.substr(pos, end - pos));
    if (end == text.size()) break;
    const char c = text[end];
    pos = end + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        // Any other control character would make the text unreadable as JSON.
        out += "\\u00";
        out += kHex[(c >> 4) & 0xF];
        out += kHex[c & 0xF];
    }
  }
  out += '"';
}

template <typename Out>
void AppendIndent(Out& out, int level) {
  out.append(static_cast<std::size_t>(level) * 2, ' ');
}

template <typename Out>
void AppendValue(Out& out, const Value& v, int level) {
  switch (v.kind()) {
    case Kind::Null: out += "null"; return;
    case Kind::Boolean: out += BooleanText(v.AsBoolean()); return;
    case Kind::Number: out += v.Text(); return;
    case Kind::String: AppendQuoted(out, v.Text()); return;
    case Kind::Array:
    case Kind::Object: break;
  }
  const bool is_object = v.IsObject();
  const std::size_t count = is_object ? v.Members().size() : v.Items().size();
  out += is_object ? '{' : '[';
  out += kLineBreak;
  for (std::size_t i = 0; i < count; ++i) {
    AppendIndent(out, level + 1);
    if (is_object) {
      AppendQuoted(out, v.Members()[i].key);
      out += ": ";
      AppendValue(out, v.Members()[i].value, level + 1);
    } else {
      AppendValue(out, v.Items()[i], level + 1);
    }
    if (i + 1 < count) out += ',';
    out += kLineBreak;
  }
  AppendIndent(out, level);
  out += is_object ? '}' : ']';
}

}  // namespace

std::string Write(const Value& value) {
  ByteCounter counter;
  AppendValue(counter, value, 0);
  std::string out;
  out.reserve(counter.size);
  AppendValue(out, value, 0);
  return out;
}

void AppendTo(std::string& out, const Value& value, int level) { AppendValue(out, value, level); }

}  // namespace qb::json
