// Design rules.
#include "model/design_rules.hpp"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>
#include <unordered_set>

#include "core/utf8.hpp"
#include "model/entity_index.hpp"
#include "model/field_types.hpp"
#include "model/identifiers.hpp"
#include "model/number_text.hpp"

namespace qb::model {
namespace {

constexpr std::array<std::string_view, 8> kReservedTableNames = {"assets", "api",      "public",  "index",
                                                                 "sw",     "manifest", "storage", "app"};
constexpr std::int32_t kMaxPageSize = 200;
constexpr std::size_t kMaxRoleLength = 32;
// The types the list's filter bar can offer: a choice or a from/to range.
constexpr std::array<std::string_view, 8> kFilterTypes = {"lookup", "boolean", "select",  "date",
                                                           "datetime", "time", "integer", "decimal"};
// The account pages of an application with sign-in live under /account.
constexpr std::string_view kAccountRoute = "account";
constexpr std::int32_t kMaxLength = 1000;
constexpr std::string_view kIdentifierRule =
    " must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).";

// Texts compared ignoring the case of A-Z.
class NameSet {
 public:
  bool Contains(std::string_view name) const { return names_.contains(AsciiLower(name)); }
  void Add(std::string_view name) { names_.insert(AsciiLower(name)); }

 private:
  std::unordered_set<std::string> names_;
};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

void CheckConnection(const Project& project, std::vector<std::string>& issues) {
  if (project.db_engine != "mysql" && project.db_engine != "mariadb") return;
  if (Trim(project.db_name).empty()) issues.push_back("Database name is required for MySQL/MariaDB.");
  if (Trim(project.db_user).empty()) issues.push_back("Database username is required for MySQL/MariaDB.");
  if (ParseWholeNumber(project.db_port).value_or(0) <= 0)
    issues.push_back("Database port must be a number, e.g. 3306.");
}

// Makes the "Table "t", field "f"" start of a field's messages, only when there is one.
using FieldPrefix = std::function<std::string()>;

// A table where some role sees only its own rows records each row's creator in created_by.
bool IsAutomaticColumn(const Entity& entity, std::string_view name) {
  const bool tracks_owner = entity.access && !(*entity.access)[TableAccess::kOwnRecordsOnly].empty();
  return SameTextAscii(name, "id") ||
         (entity.timestamps && (SameTextAscii(name, "created_at") || SameTextAscii(name, "updated_at"))) ||
         (tracks_owner && SameTextAscii(name, "created_by"));
}

// True when the table has a password field of that name: a hash is never shown for a row.
bool IsPasswordField(const Entity& entity, std::string_view name) {
  const Field* field = entity.FieldByName(name);
  return field != nullptr && field->type == "password";
}

void CheckLookup(const EntityIndex& tables, const Field& field, const FieldPrefix& prefix,
                 std::vector<std::string>& issues) {
  if (field.lookup_entity.empty()) {
    issues.push_back(prefix() + ": choose the table this lookup links to.");
    return;
  }
  const Entity* target = tables.Find(field.lookup_entity);
  if (target == nullptr) {
    issues.push_back(prefix() + ": lookup table " + Quoted(field.lookup_entity) + " does not exist.");
  } else if (!field.lookup_field.empty() && field.lookup_field != "id" &&
             target->FieldByName(field.lookup_field) == nullptr) {
    issues.push_back(prefix() + ": lookup display field " + Quoted(field.lookup_field) + " does not exist in " +
                     Quoted(target->id) + ".");
  } else {
    const std::string shown = field.lookup_field.empty() ? target->EffectiveDisplayField() : field.lookup_field;
    if (IsPasswordField(*target, shown))
      issues.push_back(prefix() + ": lookup display field " + Quoted(shown) + " of " + Quoted(target->id) +
                       " is a password field; choose a field that can be shown.");
  }
}

// A column the full-text index holds: searchable text of the table's own.
bool IsFullTextField(const Field& field) {
  const std::string_view type = field.type;
  return field.searchable && (type == "string" || type == "text" || type == "email" || type == "url" || type == "phone" ||
                              type == "select");
}

// The settings of a lookup towards its target's detail page and the target's deletion.
void CheckRelationSettings(const EntityIndex& tables, const Field& field, const FieldPrefix& prefix,
                           std::vector<std::string>& issues) {
  const bool lookup = field.type == "lookup";
  if (field.list_on_parent.value_or(false)) {
    const Entity* target = lookup ? tables.Find(field.lookup_entity) : nullptr;
    if (!lookup)
      issues.push_back(prefix() + ": \"listOnParent\" is only for lookup fields.");
    else if (target != nullptr && !target->detail_page.value_or(false))
      issues.push_back(prefix() + ": \"listOnParent\" needs a detail page on table " + Quoted(target->id) +
                       " (\"detailPage\": true).");
  }
  if (!field.on_delete) return;
  const std::string& rule = *field.on_delete;
  if (!lookup)
    issues.push_back(prefix() + ": \"onDelete\" is only for lookup fields.");
  else if (rule != "restrict" && rule != "setNull" && rule != "cascade")
    issues.push_back(prefix() + ": \"onDelete\" must be \"restrict\", \"setNull\" or \"cascade\".");
  else if (rule == "setNull" && field.required)
    issues.push_back(prefix() + ": \"onDelete\": \"setNull\" cannot clear a required lookup; make it optional or choose "
                     "\"restrict\" or \"cascade\".");
}

// Every rule about one field's own settings; the name rules need the table's set of names.
void CheckFieldSettings(const EntityIndex& tables, const Field& field, const FieldPrefix& prefix,
                        std::vector<std::string>& issues) {
  const std::string_view type = field.type;  // a view compares lengths before bytes
  if (FieldTypeIndex(type) < 0) issues.push_back(prefix() + ": unsupported type " + Quoted(field.type) + ".");
  if (TypeHasLength(type) && (field.max_length < 1 || field.max_length > kMaxLength))
    issues.push_back(prefix() + ": length must be 1-1000. Use the \"Long text\" type for longer content.");
  if (field.unique && (type == "text" || type == "password" || type == "boolean"))
    issues.push_back(prefix() + ": \"unique\" is not supported for this type.");
  if (field.filter.value_or(false) && std::find(kFilterTypes.begin(), kFilterTypes.end(), type) == kFilterTypes.end())
    issues.push_back(prefix() + ": \"filter\" is not supported for this type.");
  if (field.index.value_or(false) && (type == "text" || type == "password"))
    issues.push_back(prefix() + ": \"index\" is not supported for this type.");
  if (type == "select") {
    if (field.options.empty()) issues.push_back(prefix() + ": a select list needs at least one option.");
    const bool is_option = std::any_of(field.options.begin(), field.options.end(),
                                       [&](const std::string& o) { return SameTextAscii(o, field.default_value); });
    if (!field.default_value.empty() && !is_option)
      issues.push_back(prefix() + ": default value must be one of the options.");
  }
  if ((type == "integer" || type == "decimal") && !field.default_value.empty() &&
      !IsNumericText(field.default_value))
    issues.push_back(prefix() + ": default value must be a number.");
  if (type == "lookup") CheckLookup(tables, field, prefix, issues);
  CheckRelationSettings(tables, field, prefix, issues);
}

// Field names that may be columns: valid identifiers (lower case, so equal means the same name)
// that are not created automatically.
bool IsColumnName(const Entity& entity, std::string_view name) {
  return IsValidIdentifier(name) && !IsAutomaticColumn(entity, name);
}

// For each field, whether an earlier column name is the same; sorting keeps this linear in
// practice for tables of any width.
std::vector<bool> RepeatedColumnNames(const Entity& entity) {
  std::vector<std::pair<std::string_view, std::size_t>> names;
  names.reserve(entity.fields.size());
  for (std::size_t i = 0; i < entity.fields.size(); ++i)
    if (IsColumnName(entity, entity.fields[i].name)) names.emplace_back(entity.fields[i].name, i);
  std::sort(names.begin(), names.end());
  std::vector<bool> repeated(entity.fields.size(), false);
  for (std::size_t i = 1; i < names.size(); ++i)
    if (names[i].first == names[i - 1].first) repeated[names[i].second] = true;
  return repeated;
}

void CheckFields(const EntityIndex& tables, const Entity& entity, const std::string& table,
                 std::vector<std::string>& issues) {
  const std::vector<bool> repeated = RepeatedColumnNames(entity);
  for (std::size_t i = 0; i < entity.fields.size(); ++i) {
    const Field& field = entity.fields[i];
    const auto prefix = [&] { return table + ", field " + Quoted(field.name); };
    if (!IsValidIdentifier(field.name))
      issues.push_back(table + ": field name " + Quoted(field.name) + std::string(kIdentifierRule));
    else if (IsAutomaticColumn(entity, field.name))
      issues.push_back(prefix() + " is created automatically; remove it or choose another name.");
    else if (repeated[i])
      issues.push_back(table + ": duplicate field name " + Quoted(field.name) + ".");
    CheckFieldSettings(tables, field, prefix, issues);
  }
}

// Role ids: lower case, 32 characters at most, each listed once.
void CheckRoles(const Project& project, std::vector<std::string>& issues) {
  if (!project.security) return;
  NameSet seen;
  for (const std::string& role : project.security->roles) {
    if (!IsValidIdentifier(role) || role.size() > kMaxRoleLength)
      issues.push_back("Role " + Quoted(role) +
                       " must start with a lowercase letter and contain only a-z, 0-9 and _ (max 32).");
    else if (seen.Contains(role))
      issues.push_back("Duplicate role " + Quoted(role) + ".");
    else
      seen.Add(role);
  }
}

void CheckAccess(const Project& project, const Entity& entity, const std::string& table,
                 std::vector<std::string>& issues) {
  if (!entity.access) return;
  const TableAccess& access = *entity.access;
  const std::vector<std::string> defined = project.security ? project.security->AllRoles()
                                                             : std::vector<std::string>{std::string(kAdminRole)};
  std::vector<std::string> reported;
  const auto once = [&](const std::string& role) {
    if (std::find(reported.begin(), reported.end(), role) != reported.end()) return false;
    reported.push_back(role);
    return true;
  };
  for (const std::vector<std::string>& roles : access.roles)
    for (const std::string& role : roles)
      if (std::find(defined.begin(), defined.end(), role) == defined.end() && once(role))
        issues.push_back(table + ": access names the role " + Quoted(role) +
                         ", which is not defined; add it to the roles or remove it.");
  for (const std::string& role : defined) {
    if (role == kAdminRole || access.Grants(TableAccess::kView, role)) continue;
    const bool writes = access.Grants(TableAccess::kAdd, role) || access.Grants(TableAccess::kEdit, role) ||
                        access.Grants(TableAccess::kDelete, role);
    if (writes)
      issues.push_back(table + ": role " + Quoted(role) +
                       " may add, edit or delete records but not view them; give it the view right too.");
  }
}

void CheckEntity(const Project& project, const EntityIndex& tables, const Entity& entity, std::size_t position,
                 const NameSet& routes, NameSet& table_ids, std::vector<std::string>& issues) {
  const std::string table = "Table " + Quoted(entity.id);
  if (!IsValidIdentifier(entity.id))
    issues.push_back("Table " + std::to_string(position) + " name " + Quoted(entity.id) +
                     std::string(kIdentifierRule));
  else if (table_ids.Contains(entity.id))
    issues.push_back("Duplicate table name " + Quoted(entity.id) + ".");
  else
    table_ids.Add(entity.id);
  for (std::string_view reserved : kReservedTableNames)
    if (SameTextAscii(reserved, entity.id))
      issues.push_back(table + ": " + Quoted(entity.id) + " is reserved; choose another table name.");
  if (project.RequiresSignIn() && SameTextAscii(entity.id, kAccountRoute))
    issues.push_back(table + ": " + Quoted(entity.id) +
                     " is reserved when sign-in is required; choose another table name.");
  if (routes.Contains("/" + entity.id))
    issues.push_back(table + " uses the same URL as a page (/" + entity.id +
                     "). Rename the table or the page route.");
  if (Trim(entity.name).empty()) issues.push_back(table + " needs a display label.");
  if (entity.page_size < 1 || entity.page_size > kMaxPageSize)
    issues.push_back(table + ": rows per page must be between 1 and 200.");
  if (!entity.display_field.empty() && entity.display_field != "id" &&
      entity.FieldByName(entity.display_field) == nullptr)
    issues.push_back(table + ": display field " + Quoted(entity.display_field) + " does not exist.");
  // An empty display field is automatic and names no field, not one with an empty name.
  if (!entity.display_field.empty() && IsPasswordField(entity, entity.display_field))
    issues.push_back(table + ": display field " + Quoted(entity.display_field) +
                     " is a password field; choose a field that can be shown.");
  CheckFields(tables, entity, table, issues);
  CheckAccess(project, entity, table, issues);
  if (entity.full_text_search.value_or(false) &&
      std::none_of(entity.fields.begin(), entity.fields.end(), [](const Field& field) { return IsFullTextField(field); }))
    issues.push_back(table + ": \"fullTextSearch\" needs a searchable text field.");
}

}  // namespace

void Validate(const Project& project, std::vector<std::string>& issues) {
  NameSet routes;
  for (const Page& page : project.pages) routes.Add(page.route);
  CheckConnection(project, issues);
  CheckRoles(project, issues);
  NameSet table_ids;
  const EntityIndex tables(project.entities);
  for (std::size_t i = 0; i < project.entities.size(); ++i)
    CheckEntity(project, tables, project.entities[i], i + 1, routes, table_ids, issues);
}

}  // namespace qb::model
