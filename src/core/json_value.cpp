// Ordered JSON value.
#include "core/json_value.hpp"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

namespace qb::json {
namespace {

const std::string kNoText;
const std::vector<Value> kNoItems;
const std::vector<Member> kNoMembers;

}  // namespace

Value::Value(const Value& other) : kind_(Kind::Null), boolean_(false) { CopyPayload(other); }

Value& Value::operator=(const Value& other) {
  if (this != &other) {
    Value copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Value& Value::operator=(Value&& other) noexcept {
  if (this != &other) {
    // other may live inside this value's payload, so it is taken out before that is destroyed.
    Value taken;
    taken.MovePayload(std::move(other));
    Destroy();
    MovePayload(std::move(taken));
  }
  return *this;
}

void Value::CopyPayload(const Value& other) {
  switch (other.kind_) {
    case Kind::Number:
    case Kind::String: new (&text_) std::string(other.text_); break;
    case Kind::Array: new (&items_) std::vector<Value>(other.items_); break;
    case Kind::Object: new (&members_) std::vector<Member>(other.members_); break;
    case Kind::Null:
    case Kind::Boolean: boolean_ = other.boolean_; break;
  }
  kind_ = other.kind_;
}

Value Value::Boolean(bool value) {
  Value v;
  v.kind_ = Kind::Boolean;
  v.boolean_ = value;
  return v;
}

Value Value::Number(std::string text) {
  Value v;
  new (&v.text_) std::string(std::move(text));
  v.kind_ = Kind::Number;
  return v;
}

Value Value::Integer(long long value) { return Number(std::to_string(value)); }

Value Value::String(std::string text) {
  Value v;
  new (&v.text_) std::string(std::move(text));
  v.kind_ = Kind::String;
  return v;
}

Value Value::Array() {
  Value v;
  new (&v.items_) std::vector<Value>();
  v.kind_ = Kind::Array;
  return v;
}

Value Value::Object() {
  Value v;
  new (&v.members_) std::vector<Member>();
  v.kind_ = Kind::Object;
  return v;
}

const std::string& Value::Text() const { return HasText() ? text_ : kNoText; }

const std::vector<Value>& Value::Items() const { return IsArray() ? items_ : kNoItems; }

std::vector<Value>& Value::Items() {
  if (!IsArray()) throw std::logic_error("JSON value is not an array");
  return items_;
}

void Value::Append(Value item) { Items().push_back(std::move(item)); }

const std::vector<Member>& Value::Members() const { return IsObject() ? members_ : kNoMembers; }

std::vector<Member>& Value::Members() {
  if (!IsObject()) throw std::logic_error("JSON value is not an object");
  return members_;
}

const Value* Value::Find(std::string_view key) const {
  if (!IsObject()) return nullptr;
  auto it = std::find_if(members_.begin(), members_.end(), [&](const Member& m) { return m.HasKey(key); });
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
  Members().push_back(Member{std::move(key), std::move(value)});
  return members_.back().value;
}

bool Value::Remove(std::string_view key) {
  if (!IsObject()) return false;
  auto it = std::find_if(members_.begin(), members_.end(), [&](const Member& m) { return m.HasKey(key); });
  if (it == members_.end()) return false;
  members_.erase(it);
  return true;
}

bool operator==(const Value& a, const Value& b) {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case Kind::Null: return true;
    case Kind::Boolean: return a.boolean_ == b.boolean_;
    case Kind::Number:
    case Kind::String: return a.text_ == b.text_;
    case Kind::Array: return a.items_ == b.items_;
    case Kind::Object: return a.members_ == b.members_;
  }
  return false;
}

}  // namespace qb::json
