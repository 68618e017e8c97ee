// Field loading and saving.
#include "model/field.hpp"

#include "core/json_lookup.hpp"
#include "core/json_write.hpp"
#include "core/utf8.hpp"
#include "model/field_types.hpp"
#include "model/json_access.hpp"
#include "model/option_list.hpp"

namespace qb::model {
namespace {

std::vector<std::string> ReadOptions(const json::Value& obj) {
  if (const json::Value* array = json::ArrayMember(&obj, "options")) {
    std::vector<std::string> options;
    for (const json::Value& item : array->Items()) {
      if (!item.IsString() && !item.IsNumber()) continue;
      std::string text = Trim(item.Text());
      if (!text.empty()) options.push_back(std::move(text));
    }
    return options;
  }
  return SplitOptionText(JsonStr(&obj, "options", ""));
}

json::Value OptionsArray(const std::vector<std::string>& options) {
  json::Value array = json::Value::Array();
  for (const std::string& option : options) array.Append(json::Value::String(option));
  return array;
}

}  // namespace

void Field::ApplyTypeDefaults() {
  // A view compares lengths before bytes.
  const std::string_view t = type;
  if (t == "phone") max_length = kPhoneLength;
  else if (TypeHasLength(t) && max_length <= 0) max_length = kDefaultLength;
  show_in_list = t != "text" && t != "password";
  searchable = t == "string" || t == "text" || t == "email" || t == "phone" || t == "select" || t == "lookup";
  if (t == "text" || t == "password" || t == "boolean") unique = false;
}

void Field::LoadFromJson(const json::Value& obj) { LoadFromJson(std::make_shared<const json::Value>(obj)); }

void Field::LoadFromJson(std::shared_ptr<const json::Value> shared) {
  const json::Value& obj = *shared;
  extra_ = std::move(shared);
  name = JsonStr(&obj, "name", "");
  label = JsonStr(&obj, "label", name);
  type = NormalizeFieldType(JsonStr(&obj, "type", "string"));
  ApplyTypeDefaults();
  max_length = JsonInt(&obj, "length", type == "phone" ? kPhoneLength : kDefaultLength);
  required = JsonBool(&obj, "required", false);
  unique = JsonBool(&obj, "unique", false);
  show_in_list = JsonBool(&obj, "showInList", show_in_list);
  searchable = JsonBool(&obj, "searchable", searchable);
  const json::Value* stored_default = obj.Find("default");
  default_value = (stored_default != nullptr && stored_default->IsBoolean())
                      ? json::BooleanText(stored_default->AsBoolean())
                      : JsonStr(&obj, "default", "");
  help = JsonStr(&obj, "help", "");
  options = ReadOptions(obj);
  // The nested form wins over the flat one.
  const json::Value* lookup = json::ObjectMember(&obj, "lookup");
  lookup_entity = JsonStr(lookup, "entity", JsonStr(&obj, "lookupEntity", ""));
  lookup_field = JsonStr(lookup, "field", JsonStr(&obj, "lookupField", ""));
}

json::Value Field::ToJson(bool runtime) const {
  PairWriter out(runtime ? nullptr : extra_.get(),
                 {"name", "label", "type", "length", "required", "unique", "showInList", "searchable", "default",
                  "options", "lookup", "lookupEntity", "lookupField", "help"});
  out.Put("name", json::Value::String(name));
  out.Put("label", json::Value::String(label));
  out.Put("type", json::Value::String(type));
  if (runtime || TypeHasLength(type)) out.Put("length", json::Value::Integer(max_length));
  out.Put("required", json::Value::Boolean(required));
  out.Put("unique", json::Value::Boolean(unique));
  out.Put("showInList", json::Value::Boolean(show_in_list));
  out.Put("searchable", json::Value::Boolean(searchable));
  out.Put("default", json::Value::String(default_value));
  if (runtime || type == "select") out.Put("options", OptionsArray(options));
  if (runtime || type == "lookup") {
    json::Value lookup = json::Value::Object();
    lookup.Set("entity", json::Value::String(lookup_entity));
    lookup.Set("field", json::Value::String(lookup_field));
    out.Put("lookup", std::move(lookup));
  }
  out.Put("help", json::Value::String(help));
  return out.Take();
}

}  // namespace qb::model
