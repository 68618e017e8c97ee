// JSON member readers and writers.
#include "model/json_access.hpp"

#include <algorithm>

#include "core/json_write.hpp"
#include "core/utf8.hpp"
#include "model/number_text.hpp"

namespace qb::model {
namespace {

const json::Value* Member(const json::Value* obj, std::string_view key) {
  return (obj != nullptr && obj->IsObject()) ? obj->Find(key) : nullptr;
}

}  // namespace

std::string StrValue(const json::Value* v, std::string_view fallback) {
  if (v != nullptr && (v->IsString() || v->IsNumber())) return v->Text();
  return std::string(fallback);
}

bool BoolValue(const json::Value* v, bool fallback) {
  // Objects, arrays and null have no text that could read as a Boolean.
  if (v == nullptr || !(v->IsString() || v->IsNumber() || v->IsBoolean())) return fallback;
  const std::string text = v->IsBoolean() ? json::BooleanText(v->AsBoolean()) : AsciiLower(v->Text());
  if (text == "true" || text == "1" || text == "yes") return true;
  if (text == "false" || text == "0" || text == "no") return false;
  return fallback;
}

std::int32_t IntValue(const json::Value* v, std::int32_t fallback) {
  if (v == nullptr || !(v->IsString() || v->IsNumber())) return fallback;
  return ParseWholeNumber(v->Text()).value_or(fallback);
}

std::string JsonStr(const json::Value* obj, std::string_view key, std::string_view fallback) {
  return StrValue(Member(obj, key), fallback);
}

bool JsonBool(const json::Value* obj, std::string_view key, bool fallback) {
  return BoolValue(Member(obj, key), fallback);
}

std::int32_t JsonInt(const json::Value* obj, std::string_view key, std::int32_t fallback) {
  return IntValue(Member(obj, key), fallback);
}

void PutPair(json::Value& obj, std::string_view key, json::Value value) {
  obj.Remove(key);
  obj.Members().push_back(json::Member{std::string(key), std::move(value)});
}

namespace {

// The members of obj whose keys are not in skip, in order.
template <typename Take>
void ForEachKept(const json::Value* obj, std::initializer_list<std::string_view> skip, const Take& take) {
  if (obj == nullptr) return;
  for (const json::Member& m : obj->Members())
    if (std::find(skip.begin(), skip.end(), m.key) == skip.end()) take(m);
}

}  // namespace

void PairWriter::Keep(const json::Value* loaded, std::initializer_list<std::string_view> written) {
  obj_ = CloneOrNew(loaded, written);
  obj_.Members().reserve(obj_.Members().size() + written.size());
}

void PairEmitter::Keep(const json::Value* loaded, std::initializer_list<std::string_view> written) {
  ForEachKept(loaded, written, [&](const json::Member& m) {
    out_.Key(m.key);
    out_.Raw(m.value);
  });
}

void PairWriter::Put(std::string_view key, json::Value value) {
  obj_.Members().emplace_back(std::string(key), std::move(value));
}

void PairWriter::PutStrings(std::string_view key, const std::vector<std::string>& items) {
  json::Value array = json::Value::Array();
  array.Items().reserve(items.size());
  for (const std::string& item : items) array.Append(json::Value::String(item));
  Put(key, std::move(array));
}

void PairWriter::PutStringPairs(std::string_view key,
                                std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  json::Value obj = json::Value::Object();
  obj.Members().reserve(pairs.size());
  for (const auto& [name, text] : pairs) obj.Members().emplace_back(std::string(name), json::Value::String(std::string(text)));
  Put(key, std::move(obj));
}

void PairEmitter::PutStrings(std::string_view key, const std::vector<std::string>& items) {
  out_.Key(key);
  out_.BeginArray();
  for (const std::string& item : items) out_.String(item);
  out_.End();
}

void PairEmitter::PutStringPairs(std::string_view key,
                                 std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  out_.Key(key);
  out_.BeginObject();
  for (const auto& [name, text] : pairs) {
    out_.Key(name);
    out_.String(text);
  }
  out_.End();
}

void PairWriter::PutStringLists(std::string_view key, std::span<const std::string_view> names,
                                std::span<const std::vector<std::string>> lists) {
  json::Value obj = json::Value::Object();
  for (std::size_t i = 0; i < names.size(); ++i) {
    json::Value array = json::Value::Array();
    for (const std::string& item : lists[i]) array.Append(json::Value::String(item));
    obj.Members().emplace_back(std::string(names[i]), std::move(array));
  }
  Put(key, std::move(obj));
}

void PairEmitter::PutStringLists(std::string_view key, std::span<const std::string_view> names,
                                 std::span<const std::vector<std::string>> lists) {
  out_.Key(key);
  out_.BeginObject();
  for (std::size_t i = 0; i < names.size(); ++i) PutStrings(names[i], lists[i]);
  out_.End();
}

json::Value CloneOrNew(const json::Value* obj, std::initializer_list<std::string_view> skip) {
  if (obj == nullptr || !obj->IsObject()) return json::Value::Object();
  if (skip.size() == 0) return *obj;
  json::Value copy = json::Value::Object();
  copy.Members().reserve(obj->Members().size());
  ForEachKept(obj, skip, [&](const json::Member& m) { copy.Members().push_back(m); });
  return copy;
}

json::Value& EnsureObject(json::Value& obj, std::string_view key) {
  if (json::Value* existing = obj.Find(key); existing != nullptr && existing->IsObject()) return *existing;
  PutPair(obj, key, json::Value::Object());
  return *obj.Find(key);
}

}  // namespace qb::model
