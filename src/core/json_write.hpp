// The one JSON text layout of the system: two-space indent, CR LF, no final line break.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/json_value.hpp"

namespace qb::json {

std::string Write(const Value& value);

// Appends value in Write's layout as it stands `level` containers deep (its first line unindented).
void AppendTo(std::string& out, const Value& value, int level);

class Emitter;

// An array written item by item: write(i, out) emits the i-th of count items when its turn comes,
// so the items never exist all at once. The array the source stands for holds no items itself.
struct ItemSource {
  const Value* array;
  std::size_t count;
  std::function<void(std::size_t, Emitter&)> write;
};

// Write's text handed to sink in pieces (about 64 KiB each), with the arrays named in sources
// written from their sources.
void WriteInPieces(const Value& value, std::span<const ItemSource> sources,
                   const std::function<void(std::string_view)>& sink);

// Appends Write's layout straight to a text, value by value, without building a document. In an
// object, Key comes before each value; End closes the innermost open container. level is the
// depth the first value stands at (its first line unindented, as for AppendTo).
class Emitter {
 public:
  explicit Emitter(std::string& out, int level = 0) : out_(out), level_(level) {}
  void BeginObject() { Open('{'); }
  void BeginArray() { Open('['); }
  void End();
  void Key(std::string_view key);
  void String(std::string_view text);
  void Boolean(bool value);
  void Integer(long long value);
  // A whole value, as Write lays it out.
  void Raw(const Value& value);

 private:
  struct Container {
    char close;
    std::size_t count;
  };
  void Open(char bracket);
  // Starts an array element; in an object Key has done that.
  void BeforeValue();
  // The comma after the previous entry, a line break and the indent of the next one.
  void NextEntry();
  int Depth() const { return level_ + static_cast<int>(open_.size()); }

  std::string& out_;
  int level_;
  std::vector<Container> open_;
};

// "true" or "false", as JSON writes a Boolean.
inline const char* BooleanText(bool value) { return value ? "true" : "false"; }

}  // namespace qb::json
