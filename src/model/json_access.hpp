// Lenient readers and ordered writers of JSON object members, shared by every record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/json_value.hpp"
#include "core/json_write.hpp"

namespace qb::model {

// Readers take an object or nullptr and never fail: a missing object or key, or a value of a
// kind the reader does not take, gives the fallback.

// The same readers on a member's value (nullptr when the member is missing).
std::string StrValue(const json::Value* value, std::string_view fallback);
bool BoolValue(const json::Value* value, bool fallback);
std::int32_t IntValue(const json::Value* value, std::int32_t fallback);

// The values of the named members, found in one pass over the object (nullptr for a missing one).
template <std::size_t N>
std::array<const json::Value*, N> MemberValues(const json::Value& obj, const std::array<std::string_view, N>& keys) {
  std::array<const json::Value*, N> found{};
  for (const json::Member& m : obj.Members())
    for (std::size_t i = 0; i < N; ++i)
      if (found[i] == nullptr && m.HasKey(keys[i])) {
        found[i] = &m.value;
        break;
      }
  return found;
}

// A string's text or a number's text as written.
std::string JsonStr(const json::Value* obj, std::string_view key, std::string_view fallback);
// true/"true"/1/"1"/"yes" (any letter case) and their opposites.
bool JsonBool(const json::Value* obj, std::string_view key, bool fallback);
// A number or string holding a whole 32-bit number, white space allowed around it.
std::int32_t JsonInt(const json::Value* obj, std::string_view key, std::int32_t fallback);

// Removes an existing member with that key and appends the new one, so written keys move to
// the end and unwritten keys keep their place.
void PutPair(json::Value& obj, std::string_view key, json::Value value);

// Records name their pairs once, in WritePairs(sink, runtime), for either of two sinks with the
// same functions: PairWriter builds a JSON object, PairEmitter writes the text directly. A saved
// record starts with Keep: the loaded object's members that the record does not write keep their
// order, then the written pairs follow in writing order (what PutPair gives, without a search per
// key). written lists every key the record may put; the ones it leaves out are dropped.

class PairWriter {
 public:
  PairWriter() : obj_(json::Value::Object()) {}
  void Keep(const json::Value* loaded, std::initializer_list<std::string_view> written);
  void PutString(std::string_view key, std::string_view text) { Put(key, json::Value::String(std::string(text))); }
  void PutBoolean(std::string_view key, bool value) { Put(key, json::Value::Boolean(value)); }
  void PutInteger(std::string_view key, long long value) { Put(key, json::Value::Integer(value)); }
  void PutStrings(std::string_view key, const std::vector<std::string>& items);
  void PutValue(std::string_view key, const json::Value& value) { Put(key, value); }
  void PutStringPairs(std::string_view key, std::initializer_list<std::pair<std::string_view, std::string_view>> pairs);
  // An object whose member names[i] holds the texts lists[i].
  void PutStringLists(std::string_view key, std::span<const std::string_view> names,
                      std::span<const std::vector<std::string>> lists);
  template <typename Record>
  void PutRecords(std::string_view key, const std::vector<Record>& records, bool runtime) {
    json::Value array = json::Value::Array();
    array.Items().reserve(records.size());
    for (const Record& record : records) array.Append(record.ToJson(runtime));
    Put(key, std::move(array));
  }
  json::Value Take() { return std::move(obj_); }

 private:
  void Put(std::string_view key, json::Value value);

  json::Value obj_;
};

// Writes a record's pairs as members of the object the emitter has open.
class PairEmitter {
 public:
  explicit PairEmitter(json::Emitter& out) : out_(out) {}
  void Keep(const json::Value* loaded, std::initializer_list<std::string_view> written);
  void PutString(std::string_view key, std::string_view text) {
    out_.Key(key);
    out_.String(text);
  }
  void PutBoolean(std::string_view key, bool value) {
    out_.Key(key);
    out_.Boolean(value);
  }
  void PutInteger(std::string_view key, long long value) {
    out_.Key(key);
    out_.Integer(value);
  }
  void PutStrings(std::string_view key, const std::vector<std::string>& items);
  void PutValue(std::string_view key, const json::Value& value) {
    out_.Key(key);
    out_.Raw(value);
  }
  void PutStringPairs(std::string_view key, std::initializer_list<std::pair<std::string_view, std::string_view>> pairs);
  void PutStringLists(std::string_view key, std::span<const std::string_view> names,
                      std::span<const std::vector<std::string>> lists);
  template <typename Record>
  void PutRecords(std::string_view key, const std::vector<Record>& records, bool runtime) {
    out_.Key(key);
    out_.BeginArray();
    for (const Record& record : records) {
      out_.BeginObject();
      record.WritePairs(*this, runtime);
      out_.End();
    }
    out_.End();
  }

 private:
  json::Emitter& out_;
};

// A copy of obj without the members named in skip (for members about to be written anew), or a
// new empty object when obj is nullptr or no object.
json::Value CloneOrNew(const json::Value* obj, std::initializer_list<std::string_view> skip = {});

// The object under key, kept in place; a new empty object (appended) when key is missing or
// holds another kind.
json::Value& EnsureObject(json::Value& obj, std::string_view key);

}  // namespace qb::model
