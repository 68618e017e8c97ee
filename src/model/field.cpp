// Field loading and saving.
#include "model/field.hpp"

#include "core/json_write.hpp"
#include "core/utf8.hpp"
#include "model/field_types.hpp"
#include "model/json_access.hpp"
#include "model/option_list.hpp"

namespace qb::model {
namespace {

// The keys LoadFromJson reads, in the order it takes their values.
constexpr std::array<std::string_view, 18> kReadKeys = {
    "name",    "label",  "type",         "length",      "required", "unique",       "showInList", "searchable", "default",
    "help",    "options", "lookup", "lookupEntity", "lookupField", "filter",   "listOnParent", "onDelete",   "index"};

// An array of texts, or a text of options (see SplitOptionText).
std::vector<std::string> ReadOptions(const json::Value* value) {
  if (value != nullptr && value->IsArray()) {
    std::vector<std::string> options;
    for (const json::Value& item : value->Items()) {
      if (!item.IsString() && !item.IsNumber()) continue;
      std::string text = Trim(item.Text());
      if (!text.empty()) options.push_back(std::move(text));
    }
    return options;
  }
  return SplitOptionText(StrValue(value, ""));
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
  const auto [name_v, label_v, type_v, length_v, required_v, unique_v, show_in_list_v, searchable_v, default_v, help_v,
              options_v, lookup_v, lookup_entity_v, lookup_field_v, filter_v, list_on_parent_v, on_delete_v,
              index_v] =
      MemberValues(obj, kReadKeys);
  name = StrValue(name_v, "");
  label = StrValue(label_v, name);
  type = NormalizeFieldType(StrValue(type_v, "string"));
  ApplyTypeDefaults();
  max_length = IntValue(length_v, type == "phone" ? kPhoneLength : kDefaultLength);
  required = BoolValue(required_v, false);
  unique = BoolValue(unique_v, false);
  show_in_list = BoolValue(show_in_list_v, show_in_list);
  searchable = BoolValue(searchable_v, searchable);
  default_value = (default_v != nullptr && default_v->IsBoolean()) ? json::BooleanText(default_v->AsBoolean())
                                                                   : StrValue(default_v, "");
  help = StrValue(help_v, "");
  options = ReadOptions(options_v);
  // The nested form wins over the flat one.
  const json::Value* lookup = lookup_v != nullptr && lookup_v->IsObject() ? lookup_v : nullptr;
  lookup_entity = JsonStr(lookup, "entity", StrValue(lookup_entity_v, ""));
  lookup_field = JsonStr(lookup, "field", StrValue(lookup_field_v, ""));
  filter = filter_v == nullptr ? std::nullopt : std::optional(BoolValue(filter_v, false));
  list_on_parent = list_on_parent_v == nullptr ? std::nullopt : std::optional(BoolValue(list_on_parent_v, false));
  on_delete = on_delete_v == nullptr ? std::nullopt : std::optional(StrValue(on_delete_v, ""));
  index = index_v == nullptr ? std::nullopt : std::optional(BoolValue(index_v, false));
}

template <typename Sink>
void Field::WritePairs(Sink& out, bool runtime) const {
  if (!runtime)
    out.Keep(extra_.get(), {"name", "label", "type", "length", "required", "unique", "showInList", "searchable",
                            "default", "options", "lookup", "lookupEntity", "lookupField", "help", "filter",
                            "listOnParent", "onDelete", "index"});
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
  // The runtime schema names filters only, so an application without any keeps its schema.
  if (runtime ? filter.value_or(false) : filter.has_value()) out.PutBoolean("filter", *filter);
  if (runtime ? list_on_parent.value_or(false) : list_on_parent.has_value())
    out.PutBoolean("listOnParent", *list_on_parent);
  if (runtime ? on_delete.value_or("restrict") != "restrict" : on_delete.has_value())
    out.PutString("onDelete", *on_delete);
  if (runtime ? index.value_or(false) : index.has_value()) out.PutBoolean("index", *index);
}

template void Field::WritePairs(PairWriter&, bool) const;
template void Field::WritePairs(PairEmitter&, bool) const;

json::Value Field::ToJson(bool runtime) const {
  PairWriter out;
  WritePairs(out, runtime);
  return out.Take();
}

}  // namespace qb::model
