// Ordered JSON value: objects keep member order, numbers keep the text they were parsed from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qb::json {

enum class Kind { Null, Boolean, Number, String, Array, Object };

struct Member;

class Value {
 public:
  Value();
  Value(const Value&);
  Value(Value&&) noexcept;
  Value& operator=(const Value&);
  Value& operator=(Value&&) noexcept;
  ~Value();

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

  bool AsBoolean() const { return boolean_; }
  // The text of a string, or the parsed text of a number.
  const std::string& Text() const { return text_; }

  // Array elements.
  const std::vector<Value>& Items() const { return items_; }
  std::vector<Value>& Items() { return items_; }
  void Append(Value item);

  // Object members, in order.
  const std::vector<Member>& Members() const { return members_; }
  std::vector<Member>& Members() { return members_; }
  const Value* Find(std::string_view key) const;
  Value* Find(std::string_view key);
  // Replaces the value of an existing member in place, or appends a new one.
  Value& Set(std::string key, Value value);
  // Removes the member with that key; false when there is none.
  bool Remove(std::string_view key);

  friend bool operator==(const Value& a, const Value& b);

 private:
  Kind kind_ = Kind::Null;
  bool boolean_ = false;
  std::string text_;
  std::vector<Value> items_;
  std::vector<Member> members_;
};

struct Member {
  std::string key;
  Value value;
  friend bool operator==(const Member&, const Member&) = default;
};

}  // namespace qb::json
