// A table: its settings, its ordered fields and its JSON object.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/json_value.hpp"
#include "model/access.hpp"
#include "model/field.hpp"

namespace qb::model {

inline constexpr std::int32_t kDefaultPageSize = 20;

class Entity {
 public:
  std::string id;
  std::string name;
  std::string display_field;  // empty means automatic
  bool timestamps = false;
  std::int32_t page_size = kDefaultPageSize;
  std::vector<Field> fields;
  std::optional<TableAccess> access;  // absent: every role holds every right
  std::optional<bool> export_csv;     // the list offers a CSV download; absent: no
  std::optional<bool> import_csv;     // the list offers a CSV upload; absent: no
  std::optional<bool> detail_page;    // each record has a page of its own; absent: no
  std::optional<bool> full_text_search;  // the search uses the engine's full-text index; absent: no

  // The first field of that name, ignoring the case of A-Z; nullptr when there is none.
  const Field* FieldByName(std::string_view field_name) const;

  // The field shown for a row: the display field when it exists (or is exactly "id"), else the
  // first field with a length, else the first that is neither password nor boolean, else "id".
  std::string EffectiveDisplayField() const;

  void LoadFromJson(const json::Value& obj);
  // The same without a copy: obj is kept as it is, shared with its owner.
  void LoadFromJson(std::shared_ptr<const json::Value> obj);

  // With runtime true: no unknown keys, the effective display field, runtime field forms.
  json::Value ToJson(bool runtime) const;
  // The written pairs of either form, in order, to a PairWriter or a PairEmitter.
  template <typename Sink>
  void WritePairs(Sink& out, bool runtime) const;

 private:
  // The loaded object, shared with the document it came from; never changed.
  std::shared_ptr<const json::Value> extra_;
};

}  // namespace qb::model
