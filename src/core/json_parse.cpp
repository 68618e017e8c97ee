// JSON parser: a strict single-pass reader (RFC 8259, UTF-8) feeding our ordered value.
#include "core/json_parse.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/utf8.hpp"

namespace qb::json {
namespace {

// Builds containers bottom-up: the elements and members of every open container wait on two
// shared stacks and move into a container of exactly their count when it closes.
class Builder {
 public:
  bool Open(bool is_object) {
    if (open_.size() >= kMaxDepth) return false;
    open_.push_back(Frame{is_object, is_object ? members_.size() : items_.size(), {}, {}});
    return true;
  }

  bool InObject() const { return !open_.empty() && open_.back().is_object; }
  bool HasOpen() const { return !open_.empty(); }
  void Key(std::string key) { open_.back().key = std::move(key); }

  void Close() {
    Frame& top = open_.back();
    Value done;
    if (top.is_object) {
      done = Value::Object();
      done.Members().assign(std::make_move_iterator(members_.begin() + static_cast<std::ptrdiff_t>(top.first)),
                            std::make_move_iterator(members_.end()));
      members_.resize(top.first);
    } else {
      done = Value::Array();
      done.Items().assign(std::make_move_iterator(items_.begin() + static_cast<std::ptrdiff_t>(top.first)),
                          std::make_move_iterator(items_.end()));
      items_.resize(top.first);
    }
    open_.pop_back();
    Put(std::move(done));
  }

  void Put(Value v) {
    if (open_.empty()) {
      result_ = std::move(v);
      return;
    }
    Frame& top = open_.back();
    if (!top.is_object) {
      items_.push_back(std::move(v));
      return;
    }
    const std::size_t count = members_.size() - top.first;
    const std::size_t at = FindMember(top, count);
    if (at == count) members_.emplace_back(std::move(top.key), std::move(v));
    else members_[top.first + at].value = std::move(v);
  }

  Value Result() { return std::move(result_); }

 private:
  // Objects with more members than this find repeated names through an index.
  static constexpr std::size_t kIndexFrom = 16;

  // A container being filled: its first element or member on the stacks.
  struct Frame {
    bool is_object;
    std::size_t first;
    std::string key;
    std::unordered_map<std::string, std::size_t> index;
  };

  // The position of an earlier member named top.key, or count when there is none.
  std::size_t FindMember(Frame& top, std::size_t count) {
    if (count < kIndexFrom) {
      for (std::size_t i = 0; i < count; ++i)
        if (members_[top.first + i].key == top.key) return i;
      return count;
    }
    if (top.index.empty())
      for (std::size_t i = 0; i < count; ++i) top.index.emplace(members_[top.first + i].key, i);
    const auto [it, inserted] = top.index.try_emplace(top.key, count);
    return it->second;
  }

  std::vector<Frame> open_;
  std::vector<Value> items_;
  std::vector<Member> members_;
  Value result_;
};

// Bytes a string may hold as they are: not a quote, a backslash, a control character or the
// lead of a multi-byte sequence.
constexpr bool IsPlainStringByte(unsigned char c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

struct PlainStringBytes {
  bool table[256] = {};
  constexpr PlainStringBytes() {
    for (int c = 0; c < 256; ++c) table[c] = IsPlainStringByte(static_cast<unsigned char>(c));
  }
};
constexpr PlainStringBytes kPlain;

constexpr std::uint64_t kEightBlanks = 0x2020202020202020;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::optional<Value> Document() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    if (!Values()) return std::nullopt;
    SkipSpace();
    if (pos_ != text_.size()) return std::nullopt;
    return builder_.Result();
  }

 private:
  // Reads values until the outermost one is complete; containers are kept on the builder's
  // stacks, not on the call stack.
  bool Values() {
    do {
      SkipSpace();
      if (AtEnd()) return false;
      const char c = text_[pos_];
      if (c == '{' || c == '[') {
        ++pos_;
        if (!builder_.Open(c == '{')) return false;
        SkipSpace();
        if (!AtEnd() && text_[pos_] == (c == '{' ? '}' : ']')) {
          ++pos_;
          builder_.Close();
        } else if (c == '{' && !MemberKey()) {
          return false;
        } else {
          continue;
        }
      } else if (!Scalar()) {
        return false;
      }
      if (!AfterValue()) return false;
    } while (builder_.HasOpen());
    return true;
  }

  // After a value: closes every container that ends here; then either the document is done or
  // the next element or member follows a comma.
  bool AfterValue() {
    while (builder_.HasOpen()) {
      SkipSpace();
      if (AtEnd()) return false;
      const char c = text_[pos_++];
      const bool in_object = builder_.InObject();
      if (c == ',') return !in_object || MemberKey();
      if (c != (in_object ? '}' : ']')) return false;
      builder_.Close();
    }
    return true;
  }

  bool MemberKey() {
    SkipSpace();
    std::string key;
    if (AtEnd() || text_[pos_] != '"' || !String(key)) return false;
    SkipSpace();
    if (AtEnd() || text_[pos_] != ':') return false;
    ++pos_;
    builder_.Key(std::move(key));
    return true;
  }

  bool Scalar() {
    switch (text_[pos_]) {
      case '"': {
        std::string text;
        if (!String(text)) return false;
        builder_.Put(Value::String(std::move(text)));
        return true;
      }
      case 't': return Literal("true", Value::Boolean(true));
      case 'f': return Literal("false", Value::Boolean(false));
      case 'n': return Literal("null", Value());
      default: return Number();
    }
  }

  bool Literal(std::string_view word, Value value) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    builder_.Put(std::move(value));
    return true;
  }

  // -? (0 | [1-9][0-9]*) (.[0-9]+)? ([eE][+-]?[0-9]+)?, kept as written; "-0" reads as "0" and a
  // value beyond the range of a double is refused.
  bool Number() {
    const std::size_t start = pos_;
    Accept('-');
    if (!Accept('0') && !Digits()) return false;
    bool integer = true;
    if (Accept('.')) {
      integer = false;
      if (!Digits()) return false;
    }
    if (Accept('e') || Accept('E')) {
      integer = false;
      if (!Accept('+')) Accept('-');
      if (!Digits()) return false;
    }
    const std::string_view text = text_.substr(start, pos_ - start);
    if (text == "-0") {
      builder_.Put(Value::Number("0"));
      return true;
    }
    if ((!integer || text.size() > 18) && Overflows(text)) return false;
    builder_.Put(Value::Number(std::string(text)));
    return true;
  }

  static bool Overflows(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc::result_out_of_range) return false;
    return MagnitudeAtLeastOne(text);
  }

  // Whether a valid number text out of a double's range is an overflow rather than an underflow:
  // the decimal exponent of its first significant digit is not negative.
  static bool MagnitudeAtLeastOne(std::string_view text) {
    if (text[0] == '-') text.remove_prefix(1);
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) return false;
    long long exponent = first < point ? static_cast<long long>(point - first) - 1
                                       : -static_cast<long long>(first - point);
    if (e != std::string_view::npos) {
      std::size_t j = e + 1;
      const bool negative = text[j] == '-';
      if (text[j] == '+' || text[j] == '-') ++j;
      long long written = 0;
      for (; j < text.size() && written < 1000000; ++j) written = written * 10 + (text[j] - '0');
      exponent += negative ? -written : written;
    }
    return exponent >= 0;
  }

  bool Digits() {
    const std::size_t start = pos_;
    while (!AtEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    return pos_ > start;
  }

  bool Accept(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  std::size_t PlainRunEnd(std::size_t from) const {
    const char* p = text_.data() + from;
    const char* const end = text_.data() + text_.size();
    while (p != end && kPlain.table[static_cast<unsigned char>(*p)]) ++p;
    return static_cast<std::size_t>(p - text_.data());
  }

  // Reads the string starting at the quote at pos_ into out.
  bool String(std::string& out) {
    ++pos_;
    std::size_t run = pos_;
    for (;;) {
      pos_ = PlainRunEnd(pos_);
      if (AtEnd()) return false;
      const auto c = static_cast<unsigned char>(text_[pos_]);
      if (c == '"') {
        out.append(text_.data() + run, pos_ - run);
        ++pos_;
        return true;
      }
      if (c >= 0x80) {
        const std::size_t length = Utf8SequenceLength(text_, pos_);
        if (length == 0) return false;
        pos_ += length;
        continue;
      }
      if (c != '\\') return false;
      out.append(text_.data() + run, pos_ - run);
      if (!Escape(out)) return false;
      run = pos_;
    }
  }

  // Reads the escape at the backslash at pos_.
  bool Escape(std::string& out) {
    if (++pos_ >= text_.size()) return false;
    const char c = text_[pos_++];
    switch (c) {
      case '"': out += '"'; return true;
      case '\\': out += '\\'; return true;
      case '/': out += '/'; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': break;
      default: return false;
    }
    char32_t unit = 0;
    if (!Hex4(unit)) return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      char32_t low = 0;
      if (text_.substr(pos_, 2) != "\\u") return false;
      pos_ += 2;
      if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
      unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, unit);
    return true;
  }

  bool Hex4(char32_t& unit) {
    if (text_.size() - pos_ < 4) return false;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      int digit = 0;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else return false;
      unit = unit * 16 + static_cast<char32_t>(digit);
    }
    return true;
  }

  void SkipSpace() {
    const char* p = text_.data() + pos_;
    const char* const end = text_.data() + text_.size();
    for (;;) {
      // Indentation comes in long runs of blanks.
      std::uint64_t eight = 0;
      while (end - p >= 8 && (std::memcpy(&eight, p, 8), eight == kEightBlanks)) p += 8;
      if (p == end || (*p != ' ' && *p != '\n' && *p != '\r' && *p != '\t')) break;
      ++p;
    }
    pos_ = static_cast<std::size_t>(p - text_.data());
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

  std::string_view text_;
  std::size_t pos_ = 0;
  Builder builder_;
};

}  // namespace

std::optional<Value> Parse(std::string_view text) { return Reader(text).Document(); }

}  // namespace qb::json
