// Strict member lookups on raw JSON.
#include "core/json_lookup.hpp"

namespace qb::json {
namespace {

const Value* FindMember(const Value* object, std::string_view key) {
  return (object != nullptr && object->IsObject()) ? object->Find(key) : nullptr;
}

}  // namespace

const Value* ObjectMember(const Value* object, std::string_view key) {
  const Value* v = FindMember(object, key);
  return (v != nullptr && v->IsObject()) ? v : nullptr;
}

const Value* ArrayMember(const Value* object, std::string_view key) {
  const Value* v = FindMember(object, key);
  return (v != nullptr && v->IsArray()) ? v : nullptr;
}

std::optional<std::string> StringMember(const Value* object, std::string_view key) {
  const Value* v = FindMember(object, key);
  if (v == nullptr || !v->IsString()) return std::nullopt;
  return v->Text();
}

std::optional<bool> BooleanMember(const Value* object, std::string_view key) {
  const Value* v = FindMember(object, key);
  if (v == nullptr || !v->IsBoolean()) return std::nullopt;
  return v->AsBoolean();
}

std::size_t ArrayCount(const Value* object, std::string_view key) {
  const Value* v = ArrayMember(object, key);
  return v == nullptr ? 0 : v->Items().size();
}

}  // namespace qb::json
