// Table lookup, display field, loading and saving.
#include "model/entity.hpp"

#include <algorithm>

#include "core/json_lookup.hpp"
#include "core/utf8.hpp"
#include "model/field_types.hpp"
#include "model/json_access.hpp"

namespace qb::model {

const Field* Entity::FieldByName(std::string_view field_name) const {
  const auto it = std::find_if(fields.begin(), fields.end(),
                               [&](const Field& f) { return SameTextAscii(f.name, field_name); });
  return it == fields.end() ? nullptr : &*it;
}

std::string Entity::EffectiveDisplayField() const {
  if (!display_field.empty() && (display_field == "id" || FieldByName(display_field) != nullptr))
    return display_field;
  for (const Field& f : fields)
    if (TypeHasLength(f.type)) return f.name;
  for (const Field& f : fields)
    if (f.type != "password" && f.type != "boolean") return f.name;
  return "id";
}

void Entity::LoadFromJson(const json::Value& obj) { LoadFromJson(std::make_shared<const json::Value>(obj)); }

void Entity::LoadFromJson(std::shared_ptr<const json::Value> shared) {
  const json::Value& obj = *shared;
  extra_ = shared;
  id = JsonStr(&obj, "id", "");
  name = JsonStr(&obj, "name", id);
  display_field = JsonStr(&obj, "displayField", "");
  timestamps = JsonBool(&obj, "timestamps", false);
  page_size = JsonInt(&obj, "pageSize", kDefaultPageSize);
  const json::Value* access_obj = json::ObjectMember(&obj, "access");
  access = access_obj == nullptr ? std::nullopt : std::optional(TableAccess::FromJson(*access_obj));
  const auto optional_bool = [&](std::string_view key) {
    return obj.Find(key) == nullptr ? std::nullopt : std::optional(JsonBool(&obj, key, false));
  };
  export_csv = optional_bool("export");
  import_csv = optional_bool("import");
  detail_page = optional_bool("detailPage");
  full_text_search = optional_bool("fullTextSearch");
  fields.clear();
  if (const json::Value* array = json::ArrayMember(&obj, "fields")) {
    fields.reserve(array->Items().size());
    for (const json::Value& item : array->Items()) {
      if (!item.IsObject()) continue;
      fields.emplace_back().LoadFromJson(std::shared_ptr<const json::Value>(shared, &item));
    }
  }
}

template <typename Sink>
void Entity::WritePairs(Sink& out, bool runtime) const {
  if (!runtime) out.Keep(extra_.get(), {"id", "name", "displayField", "timestamps", "pageSize", "fields", "access", "export", "import",
                                    "detailPage", "fullTextSearch"});
  out.PutString("id", id);
  out.PutString("name", name);
  out.PutString("displayField", runtime ? EffectiveDisplayField() : display_field);
  out.PutBoolean("timestamps", timestamps);
  out.PutInteger("pageSize", page_size);
  out.PutRecords("fields", fields, runtime);
  if (access) out.PutStringLists("access", TableAccess::kKeys, access->roles);
  // The runtime schema names what is switched on only, so an application without it keeps its schema.
  for (const auto& [key, value] :
       {std::pair{"export", export_csv}, std::pair{"import", import_csv}, std::pair{"detailPage", detail_page},
        std::pair{"fullTextSearch", full_text_search}})
    if (runtime ? value.value_or(false) : value.has_value()) out.PutBoolean(key, *value);
}

template void Entity::WritePairs(PairWriter&, bool) const;
template void Entity::WritePairs(PairEmitter&, bool) const;

json::Value Entity::ToJson(bool runtime) const {
  PairWriter out;
  WritePairs(out, runtime);
  return out.Take();
}

}  // namespace qb::model
