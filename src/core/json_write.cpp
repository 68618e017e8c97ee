// JSON writer.
#include "core/json_write.hpp"

#include <string>
#include <type_traits>

namespace qb::json {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
// A line break and the indents of the levels documents usually reach, to append in one piece.
constexpr std::string_view kBreakAndBlanks =
    "\r\n                                                                                ";

constexpr bool NeedsEscape(char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; }

struct EscapeTable {
  bool needs[256] = {};
  constexpr EscapeTable() {
    for (int c = 0; c < 256; ++c) needs[c] = NeedsEscape(static_cast<char>(c));
  }
};
constexpr EscapeTable kEscape;

// The position of the first byte at or after pos that needs an escape, or the size.
std::size_t EscapeFrom(std::string_view text, std::size_t pos) {
  while (pos < text.size() && !kEscape.needs[static_cast<unsigned char>(text[pos])]) ++pos;
  return pos;
}

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
    const std::size_t end = EscapeFrom(text, pos);
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
void AppendBreakAndIndent(Out& out, int level) {
  const std::size_t length = kLineBreak.size() + static_cast<std::size_t>(level) * 2;
  if (length <= kBreakAndBlanks.size()) {
    out.append(kBreakAndBlanks.substr(0, length));
    return;
  }
  out.append(kLineBreak);
  out.append(length - kLineBreak.size(), ' ');
}

// Text handed to a sink in pieces of about kPieceSize bytes; arrays with an ItemSource take their
// items from it.
class PieceWriter {
 public:
  PieceWriter(std::span<const ItemSource> sources, const std::function<void(std::string_view)>& sink)
      : sources_(sources), sink_(sink) {
    buffer_.reserve(kPieceSize + kPieceSize / 4);
  }
  void append(std::string_view text) {
    buffer_.append(text);
    FlushWhenFull();
  }
  void append(std::size_t count, char c) {
    buffer_.append(count, c);
    FlushWhenFull();
  }
  PieceWriter& operator+=(std::string_view text) {
    append(text);
    return *this;
  }
  PieceWriter& operator+=(char c) {
    buffer_ += c;
    FlushWhenFull();
    return *this;
  }
  // Lets write append to the current piece directly.
  template <typename Write>
  void AppendWith(const Write& write) {
    write(buffer_);
    FlushWhenFull();
  }
  const ItemSource* SourceFor(const Value& array) const {
    for (const ItemSource& source : sources_)
      if (source.array == &array) return &source;
    return nullptr;
  }
  void Finish() {
    if (!buffer_.empty()) sink_(buffer_);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kPieceSize = 1 << 16;
  void FlushWhenFull() {
    if (buffer_.size() < kPieceSize) return;
    sink_(buffer_);
    buffer_.clear();
  }
  std::span<const ItemSource> sources_;
  const std::function<void(std::string_view)>& sink_;
  std::string buffer_;
};

template <typename Out>
void AppendValue(Out& out, const Value& v, int level);

// A container of count entries: entry(i) appends the i-th one, after the indent.
template <typename Out, typename Entry>
void AppendContainer(Out& out, bool is_object, std::size_t count, int level, const Entry& entry) {
  out += is_object ? '{' : '[';
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out += ',';
    AppendBreakAndIndent(out, level + 1);
    entry(i);
  }
  AppendBreakAndIndent(out, level);
  out += is_object ? '}' : ']';
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
  if constexpr (std::is_same_v<Out, PieceWriter>) {
    if (const ItemSource* source = out.SourceFor(v)) {
      AppendContainer(out, false, source->count, level, [&](std::size_t i) {
        out.AppendWith([&](std::string& text) {
          Emitter item(text, level + 1);
          source->write(i, item);
        });
      });
      return;
    }
  }
  if (v.IsObject()) {
    AppendContainer(out, true, v.Members().size(), level, [&](std::size_t i) {
      AppendQuoted(out, v.Members()[i].key);
      out += ": ";
      AppendValue(out, v.Members()[i].value, level + 1);
    });
  } else {
    AppendContainer(out, false, v.Items().size(), level,
                    [&](std::size_t i) { AppendValue(out, v.Items()[i], level + 1); });
  }
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

void Emitter::Open(char bracket) {
  BeforeValue();
  out_ += bracket;
  open_.push_back({bracket == '{' ? '}' : ']', 0});
}

void Emitter::End() {
  const char close = open_.back().close;
  open_.pop_back();
  AppendBreakAndIndent(out_, Depth());
  out_ += close;
}

void Emitter::NextEntry() {
  if (open_.back().count++ > 0) out_ += ',';
  AppendBreakAndIndent(out_, Depth());
}

void Emitter::BeforeValue() {
  if (!open_.empty() && open_.back().close == ']') NextEntry();
}

void Emitter::Key(std::string_view key) {
  NextEntry();
  AppendQuoted(out_, key);
  out_ += ": ";
}

void Emitter::String(std::string_view text) {
  BeforeValue();
  AppendQuoted(out_, text);
}

void Emitter::Boolean(bool value) {
  BeforeValue();
  out_ += BooleanText(value);
}

void Emitter::Integer(long long value) {
  BeforeValue();
  out_ += std::to_string(value);
}

void Emitter::Raw(const Value& value) {
  BeforeValue();
  AppendValue(out_, value, Depth());
}

void WriteInPieces(const Value& value, std::span<const ItemSource> sources,
                   const std::function<void(std::string_view)>& sink) {
  PieceWriter out(sources, sink);
  AppendValue(out, value, 0);
  out.Finish();
}

}  // namespace qb::json
