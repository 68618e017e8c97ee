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

template <typename Sink>
void Field::WritePairs(Sink& out, bool runtime) const {
  out.PutString("name", name);
  out.PutString("label", label);
  out.PutString("type", type);
  if (runtime || TypeHasLength(type)) out.PutInteger("length", max_length);
  out.PutBoolean("required", required);
  out.PutBoolean("unique", unique);
  out.PutBoolean("showInList", show_in_list);
  out.PutBoolean("searchable", searchable);
  out.PutString("default", default_value);
  if (runtime || type == "select") out.PutStrings("options", options);
  if (runtime || type == "lookup") out.PutStringPairs("lookup", {{"entity", lookup_entity}, {"field", lookup_field}});
  out.PutString("help", help);
}

template void Field::WritePairs(PairWriter&, bool) const;
template void Field::WritePairs(PairEmitter&, bool) const;

json::Value Field::ToJson(bool runtime) const {
  PairWriter out(runtime ? nullptr : extra_.get(),
                 {"name", "label", "type", "length", "required", "unique", "showInList", "searchable", "default",
                  "options", "lookup", "lookupEntity", "lookupField", "help"});
  WritePairs(out, runtime);
  return out.Take();
}

}  // namespace qb::model
