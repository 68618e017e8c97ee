// Ordered JSON value.
#include "core/json_value.hpp"

#include <algorithm>
#include <utility>

namespace qb::json {

Value::Value() = default;
Value::Value(const Value&) = default;
Value::Value(Value&&) noexcept = default;
Value& Value::operator=(const Value&) = default;
Value& Value::operator=(Value&&) noexcept = default;
Value::~Value() = default;

Value Value::Boolean(bool value) {
  Value v;
  v.kind_ = Kind::Boolean;
  v.boolean_ = value;
  return v;
}

Value Value::Number(std::string text) {
  Value v;
  v.kind_ = Kind::Number;
  v.text_ = std::move(text);
  return v;
}

Value Value::Integer(long long value) { return Number(std::to_string(value)); }

Value Value::String(std::string text) {
  Value v;
  v.kind_ = Kind::String;
  v.text_ = std::move(text);
  return v;
}

Value Value::Array() {
  Value v;
  v.kind_ = Kind::Array;
  return v;
}

Value Value::Object() {
  Value v;
  v.kind_ = Kind::Object;
  return v;
}

void Value::Append(Value item) { items_.push_back(std::move(item)); }

const Value* Value::Find(std::string_view key) const {
  auto it = std::find_if(members_.begin(), members_.end(), [&](const Member& m) { return m.key == key; });
  return it == members_.end() ? nullptr : &it->value;
}

Value* Value::Find(std::string_view key) {
  return const_cast<Value*>(std::as_const(*this).Find(key));
}

Value& Value::Set(std::string key, Value value) {
  if (Value* existing = Find(key)) {
    *existing = std::move(value);
    return *existing;
  }
  members_.push_back(Member{std::move(key), std::move(value)});
  return members_.back().value;
}

bool Value::Remove(std::string_view key) {
  auto it = std::find_if(members_.begin(), members_.end(), [&](const Member& m) { return m.key == key; });
  if (it == members_.end()) return false;
  members_.erase(it);
  return true;
}

bool operator==(const Value& a, const Value& b) {
  return a.kind_ == b.kind_ && a.boolean_ == b.boolean_ && a.text_ == b.text_ && a.items_ == b.items_ &&
         a.members_ == b.members_;
}

}  // namespace qb::json
