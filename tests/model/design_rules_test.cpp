#include "model/design_rules.hpp"

#include <gtest/gtest.h>

#include "json_text.hpp"

namespace qb::model {
namespace {

using Issues = std::vector<std::string>;

Issues IssuesOf(std::string_view root_json) {
  Project project;
  project.LoadFromRoot(test::ParseJson(root_json));
  Issues issues;
  Validate(project, issues);
  return issues;
}

// A project with one table "t" (label "T") holding the given fields.
std::string OneTable(std::string_view fields, std::string_view table_extra = "") {
  return R"({"database": {"entities": [{"id": "t", "name": "T", )" + std::string(table_extra) + R"("fields": [)" +
         std::string(fields) + "]}]}}";
}

struct Case {
  std::string name;
  std::string root;
  Issues expected;
};

class DesignRules : public testing::TestWithParam<Case> {};

TEST_P(DesignRules, ReportsEveryProblemInOrder) { EXPECT_EQ(IssuesOf(GetParam().root), GetParam().expected); }

const Case kCases[] = {
    {"EmptySqliteProject", R"({"target": {"database": "sqlite"}, "database": {"connection": {"port": "x"}}})", {}},
    {"MysqlConnectionInOrder",
     R"({"target": {"database": "mysql"},
         "database": {"connection": {"name": " ", "username": "", "port": "abc"}}})",
     {"Database name is required for MySQL/MariaDB.", "Database username is required for MySQL/MariaDB.",
      "Database port must be a number, e.g. 3306."}},
    {"MariadbPortZero", R"({"target": {"database": "MariaDB"}, "database": {"connection": {"port": "0"}}})",
     {"Database port must be a number, e.g. 3306."}},
    {"MysqlDefaultsPass", R"({"target": {"database": "mysql"}, "database": {"connection": {"port": 3306}}})", {}},
    {"InvalidTableIdIsNotADuplicateBase",
     R"({"database": {"entities": [{"id": "Orders"}, {"id": "orders"}, {"id": "orders"}]}})",
     {"Table 1 name \"Orders\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).",
      "Duplicate table name \"orders\"."}},
    {"ReservedNamesInAnyCase", R"({"database": {"entities": [{"id": "api"}, {"id": "API"}]}})",
     {"Table \"api\": \"api\" is reserved; choose another table name.",
      "Table 2 name \"API\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).",
      "Table \"API\": \"API\" is reserved; choose another table name."}},
    {"TableUrlTakenByAPage",
     R"({"pages": [{"id": "b", "route": "/Books"}], "database": {"entities": [{"id": "books"}]}})",
     {"Table \"books\" uses the same URL as a page (/books). Rename the table or the page route."}},
    {"LabelPageSizeAndDisplayField",
     R"({"database": {"entities": [{"id": "t", "name": "  ", "pageSize": 201, "displayField": "nope"},
                                   {"id": "u", "pageSize": 0, "displayField": "id"},
                                   {"id": "v", "pageSize": 200, "displayField": "X", "fields": [{"name": "x"}]}]}})",
     {"Table \"t\" needs a display label.", "Table \"t\": rows per page must be between 1 and 200.",
      "Table \"t\": display field \"nope\" does not exist.", "Table \"u\": rows per page must be between 1 and 200."}},
    {"FieldNames", OneTable(R"({"name": "ID"}, {"name": "id"}, {"name": "a"}, {"name": "a"}, {"name": ""},
                              {"name": "created_at"})"),
     {"Table \"t\": field name \"ID\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).",
      "Table \"t\", field \"id\" is created automatically; remove it or choose another name.",
      "Table \"t\": duplicate field name \"a\".",
      "Table \"t\": field name \"\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64)."}},
    {"EveryRepeatInFieldOrder", OneTable(R"({"name": "b"}, {"name": "a"}, {"name": "a"}, {"name": "b"}, {"name": "a"})"),
     {"Table \"t\": duplicate field name \"a\".", "Table \"t\": duplicate field name \"b\".",
      "Table \"t\": duplicate field name \"a\"."}},
    {"TimestampColumns", OneTable(R"({"name": "created_at"}, {"name": "updated_at"})", R"("timestamps": true, )"),
     {"Table \"t\", field \"created_at\" is created automatically; remove it or choose another name.",
      "Table \"t\", field \"updated_at\" is created automatically; remove it or choose another name."}},
    {"UnsupportedTypeGetsNoOtherTypeRule", OneTable(R"({"name": "f", "type": "blob", "unique": true, "length": 0})"),
     {"Table \"t\", field \"f\": unsupported type \"blob\"."}},
    {"Lengths", OneTable(R"({"name": "a", "length": 2000}, {"name": "b", "type": "email", "length": 0},
                           {"name": "c", "type": "text", "length": 0}, {"name": "d", "length": 1000})"),
     {"Table \"t\", field \"a\": length must be 1-1000. Use the \"Long text\" type for longer content.",
      "Table \"t\", field \"b\": length must be 1-1000. Use the \"Long text\" type for longer content."}},
    {"UniqueOnlyWhereSupported", OneTable(R"({"name": "a", "type": "string", "unique": true},
                                            {"name": "b", "type": "boolean", "unique": true})"),
     {"Table \"t\", field \"b\": \"unique\" is not supported for this type."}},
    {"SelectOptionsAndDefault",
     OneTable(R"({"name": "a", "type": "select"}, {"name": "b", "type": "select", "options": "Red,Green",
                  "default": "red"}, {"name": "c", "type": "select", "options": "Red", "default": "Blue"},
                 {"name": "d", "type": "select", "default": "x"})"),
     {"Table \"t\", field \"a\": a select list needs at least one option.",
      "Table \"t\", field \"c\": default value must be one of the options.",
      "Table \"t\", field \"d\": a select list needs at least one option.",
      "Table \"t\", field \"d\": default value must be one of the options."}},
    {"NumericDefaults", OneTable(R"({"name": "a", "type": "integer", "default": "1e3"},
                                   {"name": "b", "type": "decimal", "default": "12abc"},
                                   {"name": "c", "type": "string", "default": "12abc"})"),
     {"Table \"t\", field \"b\": default value must be a number."}},
    {"Lookups",
     R"({"database": {"entities": [
          {"id": "authors", "name": "A", "fields": [{"name": "name"}]},
          {"id": "books", "name": "B", "fields": [
            {"name": "a", "type": "lookup"},
            {"name": "b", "type": "lookup", "lookupEntity": "writers"},
            {"name": "c", "type": "lookup", "lookupEntity": "Authors", "lookupField": "bio"},
            {"name": "d", "type": "lookup", "lookupEntity": "authors", "lookupField": "id"},
            {"name": "e", "type": "lookup", "lookupEntity": "authors", "lookupField": "Name"},
            {"name": "f", "type": "lookup", "lookupEntity": "AUTHORS"}]}]}})",
     {"Table \"books\", field \"a\": choose the table this lookup links to.",
      "Table \"books\", field \"b\": lookup table \"writers\" does not exist.",
      "Table \"books\", field \"c\": lookup display field \"bio\" does not exist in \"authors\"."}},
    {"PasswordNeverShownThroughALookup",
     R"({"database": {"entities": [
          {"id": "users", "name": "U", "displayField": "Secret",
           "fields": [{"name": "login"}, {"name": "secret", "type": "password"}]},
          {"id": "staff", "name": "S", "fields": [{"name": "pin", "type": "password"}, {"name": "active", "type": "boolean"}]},
          {"id": "logins", "name": "L", "fields": [
            {"name": "a", "type": "lookup", "lookupEntity": "users", "lookupField": "secret"},
            {"name": "b", "type": "lookup", "lookupEntity": "users"},
            {"name": "c", "type": "lookup", "lookupEntity": "users", "lookupField": "login"},
            {"name": "d", "type": "lookup", "lookupEntity": "staff"},
            {"name": "e", "type": "lookup", "lookupEntity": "staff", "lookupField": "PIN"}]}]}})",
     {"Table \"users\": display field \"Secret\" is a password field; choose a field that can be shown.",
      "Table \"logins\", field \"a\": lookup display field \"secret\" of \"users\" is a password field; choose a field "
      "that can be shown.",
      "Table \"logins\", field \"b\": lookup display field \"Secret\" of \"users\" is a password field; choose a field "
      "that can be shown.",
      "Table \"logins\", field \"e\": lookup display field \"PIN\" of \"staff\" is a password field; choose a field "
      "that can be shown."}},
    {"EmptyDisplayFieldNamesNoField",
     OneTable(R"({"name": "", "type": "password"}, {"name": "title"})"),
     {"Table \"t\": field name \"\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64)."}},
    {"RoleIds",
     R"({"security": {"signIn": true, "roles": ["editor", "Editor", "2nd", "editor", "admin",
                                                "a23456789012345678901234567890123", "a2345678901234567890123456789012"]}})",
     {"Role \"Editor\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 32).",
      "Role \"2nd\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 32).",
      "Duplicate role \"editor\".",
      "Role \"a23456789012345678901234567890123\" must start with a lowercase letter and contain only a-z, 0-9 and _ "
      "(max 32)."}},
    {"AccessNamesDefinedRolesOnly",
     R"({"security": {"signIn": false, "roles": ["editor", "viewer"]}, "database": {"entities": [
          {"id": "books", "name": "B", "access": {"view": ["editor", "viewer", "admin", "guest"], "add": ["editor"],
                                                 "edit": ["guest", "Editor"], "delete": [], "ownRecordsOnly": ["editor"]}}]}})",
     {"Table \"books\": access names the role \"guest\", which is not defined; add it to the roles or remove it.",
      "Table \"books\": access names the role \"Editor\", which is not defined; add it to the roles or remove it."}},
    {"AccessWithoutSecurityKnowsOnlyAdmin",
     R"({"database": {"entities": [{"id": "books", "name": "B", "access": {"view": ["admin", "editor"]}}]}})",
     {"Table \"books\": access names the role \"editor\", which is not defined; add it to the roles or remove it."}},
    {"WritingNeedsViewing",
     R"({"security": {"signIn": true, "roles": ["editor", "clerk", "viewer"]}, "database": {"entities": [
          {"id": "books", "name": "B", "access": {"view": ["viewer"], "add": ["editor"], "delete": ["clerk"]}}]}})",
     {"Table \"books\": role \"editor\" may add, edit or delete records but not view them; give it the view right too.",
      "Table \"books\": role \"clerk\" may add, edit or delete records but not view them; give it the view right too."}},
    {"CreatorColumnOfOwnerOnlyTables",
     R"({"security": {"signIn": true, "roles": ["member"]}, "database": {"entities": [
          {"id": "own", "name": "O", "access": {"view": ["member"], "ownRecordsOnly": ["member"]}, "fields": [{"name": "created_by"}]},
          {"id": "shared", "name": "S", "access": {"view": ["member"]}, "fields": [{"name": "created_by"}]}]}})",
     {"Table \"own\", field \"created_by\" is created automatically; remove it or choose another name."}},
    {"AccountTableOnlyWithSignIn",
     R"({"security": {"signIn": true}, "database": {"entities": [{"id": "account", "name": "A"}]},
         "pages": [{"id": "p", "route": "/other"}]})",
     {"Table \"account\": \"account\" is reserved when sign-in is required; choose another table name."}},
    {"AccountTableWithoutSignIn", R"({"security": {"signIn": false}, "database": {"entities": [{"id": "account", "name": "A"}]}})",
     {}},
    {"FilterOnlyWhereTheBarCanOfferIt",
     OneTable(R"({"name": "a", "type": "text", "filter": true}, {"name": "b", "type": "password", "filter": true},
                 {"name": "c", "filter": "yes"}, {"name": "d", "filter": false}, {"name": "e", "type": "decimal", "filter": true},
                 {"name": "f", "type": "lookup", "lookup": {"entity": "t"}, "filter": true})"),
     {"Table \"t\", field \"a\": \"filter\" is not supported for this type.",
      "Table \"t\", field \"b\": \"filter\" is not supported for this type.",
      "Table \"t\", field \"c\": \"filter\" is not supported for this type."}},
    {"RelationSettings",
     R"({"database": {"entities": [{"id": "a", "name": "A", "detailPage": true}, {"id": "p", "name": "P"},
         {"id": "c", "name": "C", "fields": [
           {"name": "ok", "type": "lookup", "lookup": {"entity": "a"}, "listOnParent": true, "onDelete": "setNull"},
           {"name": "kept", "type": "lookup", "lookup": {"entity": "p"}, "required": true, "onDelete": "cascade"},
           {"name": "nopage", "type": "lookup", "lookup": {"entity": "p"}, "listOnParent": true, "onDelete": "restrict"},
           {"name": "needed", "type": "lookup", "lookup": {"entity": "a"}, "required": true, "onDelete": "setNull"},
           {"name": "wrong", "type": "lookup", "lookup": {"entity": "a"}, "onDelete": "SetNull"},
           {"name": "plain", "listOnParent": true, "onDelete": "cascade"}]}]}})",
     {"Table \"c\", field \"nopage\": \"listOnParent\" needs a detail page on table \"p\" (\"detailPage\": true).",
      "Table \"c\", field \"needed\": \"onDelete\": \"setNull\" cannot clear a required lookup; make it optional or choose "
      "\"restrict\" or \"cascade\".",
      "Table \"c\", field \"wrong\": \"onDelete\" must be \"restrict\", \"setNull\" or \"cascade\".",
      "Table \"c\", field \"plain\": \"listOnParent\" is only for lookup fields.",
      "Table \"c\", field \"plain\": \"onDelete\" is only for lookup fields."}},
    {"IndexAndFullTextSearch",
     R"({"database": {"entities": [
         {"id": "t", "name": "T", "fullTextSearch": true, "fields": [{"name": "a", "type": "text", "index": true},
           {"name": "b", "type": "password", "index": true}, {"name": "c", "type": "date", "index": true}]},
         {"id": "u", "name": "U", "fullTextSearch": true, "fields": [{"name": "d", "searchable": false}, {"name": "e", "type": "integer"}]}]}})",
     {"Table \"t\", field \"a\": \"index\" is not supported for this type.",
      "Table \"t\", field \"b\": \"index\" is not supported for this type.",
      "Table \"u\": \"fullTextSearch\" needs a searchable text field."}},
    {"OneFieldCanFailSeveralRules", OneTable(R"({"name": "Bad", "type": "select", "length": 0})"),
     {"Table \"t\": field name \"Bad\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).",
      "Table \"t\", field \"Bad\": length must be 1-1000. Use the \"Long text\" type for longer content.",
      "Table \"t\", field \"Bad\": a select list needs at least one option."}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DesignRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(DesignRulesList, AppendsToTheCallersList) {
  Project project;
  project.db_engine = "mysql";
  project.db_user = "";
  Issues issues = {"earlier"};
  Validate(project, issues);
  EXPECT_EQ(issues, (Issues{"earlier", "Database username is required for MySQL/MariaDB."}));
}

}  // namespace
}  // namespace qb::model
