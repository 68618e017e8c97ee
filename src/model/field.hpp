// A table column: its typed settings and its JSON object in the project file and in schema.json.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/json_value.hpp"

namespace qb::model {

inline constexpr std::int32_t kDefaultLength = 255;
inline constexpr std::int32_t kPhoneLength = 30;

// Copying a field copies everything; the loaded JSON object, never changed, is shared.
class Field {
 public:
  std::string name;
  std::string label;
  std::string type = "string";  // a type key; after loading possibly an unsupported name
  std::int32_t max_length = kDefaultLength;
  bool required = false;
  bool unique = false;
  bool show_in_list = true;
  bool searchable = true;
  std::string default_value;  // empty means none
  std::vector<std::string> options;
  std::string lookup_entity;
  std::string lookup_field;  // empty means the target's display field
  std::string help;
  std::optional<bool> filter;  // the list's filter bar offers the field; absent: no
  std::optional<bool> list_on_parent;    // lookup: its rows are listed on the target's detail page
  std::optional<std::string> on_delete;  // lookup: "restrict" (absent), "setNull" or "cascade"
  std::optional<bool> index;  // the column gets an index (lookups always have one); absent: no

  // Sets length, list, search and unique flags to what the type implies.
  void ApplyTypeDefaults();

  // Fills the field from one JSON object, keeping the object so unknown keys survive a save.
  void LoadFromJson(const json::Value& obj);
  // The same without a copy: obj is kept as it is, shared with its owner.
  void LoadFromJson(std::shared_ptr<const json::Value> obj);

  // The project-file form (unknown keys first, then the written keys), or with runtime true the
  // complete runtime form of schema.json.
  json::Value ToJson(bool runtime) const;
  // The written pairs of either form, in order, to a PairWriter or a PairEmitter.
  template <typename Sink>
  void WritePairs(Sink& out, bool runtime) const;

 private:
  // The loaded object, shared with the document it came from; never changed.
  std::shared_ptr<const json::Value> extra_;
};

}  // namespace qb::model
