// Lenient readers and ordered writers of JSON object members, shared by every record.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/json_value.hpp"

namespace qb::model {

// Readers take an object or nullptr and never fail: a missing object or key, or a value of a
// kind the reader does not take, gives the fallback.

// A string's text or a number's text as written.
std::string JsonStr(const json::Value* obj, std::string_view key, std::string_view fallback);
// true/"true"/1/"1"/"yes" (any letter case) and their opposites.
bool JsonBool(const json::Value* obj, std::string_view key, bool fallback);
// A number or string holding a whole 32-bit number, white space allowed around it.
std::int32_t JsonInt(const json::Value* obj, std::string_view key, std::int32_t fallback);

// Removes an existing member with that key and appends the new one, so written keys move to
// the end and unwritten keys keep their place.
void PutPair(json::Value& obj, std::string_view key, json::Value value);

// Builds a record's object in one pass: the loaded object's members that the record does not
// write keep their order, then the written pairs follow in writing order (what PutPair gives,
// without a search per key). written lists every key the record may put; the ones it leaves out
// are dropped.
class PairWriter {
 public:
  PairWriter(const json::Value* loaded, std::initializer_list<std::string_view> written);
  void Put(std::string_view key, json::Value value);
  json::Value Take() { return std::move(obj_); }

 private:
  json::Value obj_;
};

// A copy of obj without the members named in skip (for members about to be written anew), or a
// new empty object when obj is nullptr or no object.
json::Value CloneOrNew(const json::Value* obj, std::initializer_list<std::string_view> skip = {});

// The object under key, kept in place; a new empty object (appended) when key is missing or
// holds another kind.
json::Value& EnsureObject(json::Value& obj, std::string_view key);

}  // namespace qb::model
