// Field type vocabulary.
#include "model/field_types.hpp"

#include <algorithm>
#include <utility>

#include "core/utf8.hpp"

namespace qb::model {
namespace {

constexpr std::pair<std::string_view, std::string_view> kTypeAliases[] = {
    {"", "string"},          {"varchar", "string"},   {"char", "string"},
    {"int", "integer"},      {"number", "decimal"},   {"float", "decimal"},
    {"double", "decimal"},   {"money", "decimal"},    {"bool", "boolean"},
    {"timestamp", "datetime"}, {"tel", "phone"},      {"mobile", "phone"},
    {"textarea", "text"},    {"longtext", "text"},    {"memo", "text"},
    {"enum", "select"},      {"dropdown", "select"},  {"reference", "lookup"},
    {"relation", "lookup"},  {"foreignkey", "lookup"},
};

}  // namespace

int FieldTypeIndex(std::string_view key) {
  const auto it = std::find(kFieldTypeKeys.begin(), kFieldTypeKeys.end(), key);
  return it == kFieldTypeKeys.end() ? -1 : static_cast<int>(it - kFieldTypeKeys.begin());
}

bool TypeHasLength(std::string_view key) {
  return key == "string" || key == "email" || key == "url" || key == "phone" || key == "select";
}

std::string NormalizeFieldType(std::string_view text) {
  if (FieldTypeIndex(text) >= 0) return std::string(text);
  const std::string name = AsciiLower(Trim(text));
  for (const auto& [alias, key] : kTypeAliases)
    if (name == alias) return std::string(key);
  return name;
}

}  // namespace qb::model
