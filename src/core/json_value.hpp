// Ordered JSON value: objects keep member order, numbers keep the text they were parsed from.
#pragma once

#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb::json {

enum class Kind : unsigned char { Null, Boolean, Number, String, Array, Object };

struct Member;

// A kind and one payload (Boolean, text, elements or members) in the space of the largest.
class Value {
 public:
  Value() noexcept : kind_(Kind::Null), boolean_(false) {}
  Value(const Value& other);
  Value(Value&& other) noexcept : kind_(Kind::Null), boolean_(false) { MovePayload(std::move(other)); }
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept;
  ~Value() { Destroy(); }

  static Value Boolean(bool value);
  static Value Number(std::string text);
  static Value Integer(long long value);
  static Value String(std::string text);
  static Value Array();
  static Value Object();

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool IsBoolean() const { return kind_ == Kind::Boolean; }
  bool IsNumber() const { return kind_ == Kind::Number; }
  bool IsString() const { return kind_ == Kind::String; }
  bool IsArray() const { return kind_ == Kind::Array; }
  bool IsObject() const { return kind_ == Kind::Object; }

  // false for anything but true.
  bool AsBoolean() const { return kind_ == Kind::Boolean && boolean_; }
  // The text of a string, or the parsed text of a number; empty for other kinds.
  const std::string& Text() const;

  // Array elements; none for other kinds. The changeable form throws std::logic_error on
  // anything but an array.
  const std::vector<Value>& Items() const;
  std::vector<Value>& Items();
  void Append(Value item);

  // Object members, in order; none for other kinds. The changeable form throws
  // std::logic_error on anything but an object.
  const std::vector<Member>& Members() const;
  std::vector<Member>& Members();
  const Value* Find(std::string_view key) const;
  Value* Find(std::string_view key);
  // Replaces the value of an existing member in place, or appends a new one.
  Value& Set(std::string key, Value value);
  // Removes the member with that key; false when there is none.
  bool Remove(std::string_view key);

  friend bool operator==(const Value& a, const Value& b);

 private:
  bool HasText() const { return kind_ == Kind::String || kind_ == Kind::Number; }
  // Moves and destruction are inline (defined below Member): documents are built and freed a value
  // at a time.
  void Destroy() noexcept;
  // Constructs the payload of other's kind in this value's (destroyed or unset) payload.
  void CopyPayload(const Value& other);
  void MovePayload(Value&& other) noexcept;

  Kind kind_;
  union {
    bool boolean_;
    std::string text_;
    std::vector<Value> items_;
    std::vector<Member> members_;
  };
};

struct Member {
  Member() = default;
  Member(std::string k, Value v) : key(std::move(k)), value(std::move(v)) {}
  // Lengths first: most keys differ in length, and then no bytes need comparing.
  bool HasKey(std::string_view name) const {
    return key.size() == name.size() && std::char_traits<char>::compare(key.data(), name.data(), name.size()) == 0;
  }

  std::string key;
  Value value;
  friend bool operator==(const Member&, const Member&) = default;
};

inline void Value::Destroy() noexcept {
  switch (kind_) {
    case Kind::Number:
    case Kind::String: text_.~basic_string(); break;
    case Kind::Array: items_.~vector(); break;
    case Kind::Object: members_.~vector(); break;
    case Kind::Null:
    case Kind::Boolean: break;
  }
  kind_ = Kind::Null;
  boolean_ = false;
}

inline void Value::MovePayload(Value&& other) noexcept {
  switch (other.kind_) {
    case Kind::Number:
    case Kind::String: new (&text_) std::string(std::move(other.text_)); break;
    case Kind::Array: new (&items_) std::vector<Value>(std::move(other.items_)); break;
    case Kind::Object: new (&members_) std::vector<Member>(std::move(other.members_)); break;
    case Kind::Null:
    case Kind::Boolean: boolean_ = other.boolean_; break;
  }
  kind_ = other.kind_;
  other.Destroy();
}

}  // namespace qb::json
