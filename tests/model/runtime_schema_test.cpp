#include "model/runtime_schema.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json_text.hpp"

namespace qb::model {
namespace {

using test::Lines;
using test::ParseJson;

std::string SchemaOf(std::string_view root_json) {
  Project project;
  project.LoadFromRoot(ParseJson(root_json));
  return RuntimeSchemaJson(project);
}

// The "lookup" object of one field in the schema text.
json::Value LookupOf(const std::string& schema, std::size_t entity, std::size_t field) {
  const json::Value root = ParseJson(schema);
  return *root.Find("entities")->Items()[entity].Find("fields")->Items()[field].Find("lookup");
}

TEST(RuntimeSchema, ProjectWithoutTables) {
  EXPECT_EQ(SchemaOf(R"({"target": {"database": "MariaDB"}})"), Lines({
                                                                      "{",
                                                                      "  \"generator\": \"Kettlebourne Generator\",",
                                                                      "  \"engine\": \"mariadb\",",
                                                                      "  \"entities\": [",
                                                                      "  ]",
                                                                      "}",
                                                                  }));
}

TEST(RuntimeSchema, SecurityOnlyWithSignInAndAccessAsWritten) {
  struct Case {
    const char* security;
    const char* expected;  // the schema's "security", or "" for none
  };
  const Case cases[] = {
      {"", ""},
      {R"(, "security": {"signIn": false, "roles": ["editor"]})", ""},
      {R"(, "security": {"signIn": true, "roles": ["editor", "admin", "editor"]})",
       R"({"signIn": true, "roles": ["admin", "editor"]})"},
  };
  for (const Case& c : cases) {
    const json::Value root = ParseJson(SchemaOf(std::string(R"({"database": {"entities": [
        {"id": "b", "name": "B", "access": {"view": ["editor"], "x": 1}}, {"id": "c", "name": "C"}]})") +
                                                c.security + "}"));
    const json::Value* security = root.Find("security");
    if (*c.expected == 0) EXPECT_EQ(security, nullptr) << c.security;
    else EXPECT_EQ(*security, ParseJson(c.expected)) << c.security;
    const auto& tables = root.Find("entities")->Items();
    EXPECT_EQ(*tables[0].Find("access"), ParseJson(R"({"view": ["editor"], "add": [], "edit": [], "delete": [],
                                                       "ownRecordsOnly": []})"));
    EXPECT_EQ(tables[1].Find("access"), nullptr);
  }
}

TEST(RuntimeSchema, FiltersExportAndImportOnlyWhenSwitchedOn) {
  const json::Value root = ParseJson(SchemaOf(R"({"database": {"entities": [
      {"id": "a", "name": "A", "export": true, "import": false, "fields": [{"name": "x", "filter": true}, {"name": "y", "filter": false}]},
      {"id": "b", "name": "B", "fields": [{"name": "z"}]}]}})"));
  const auto& tables = root.Find("entities")->Items();
  const auto& fields = tables[0].Find("fields")->Items();
  EXPECT_EQ(*tables[0].Find("export"), json::Value::Boolean(true));
  EXPECT_EQ(tables[0].Find("import"), nullptr);
  EXPECT_EQ(*fields[0].Find("filter"), json::Value::Boolean(true));
  EXPECT_EQ(fields[1].Find("filter"), nullptr);
  for (const char* key : {"export", "import"}) EXPECT_EQ(tables[1].Find(key), nullptr) << key;
  EXPECT_EQ(tables[1].Find("fields")->Items()[0].Find("filter"), nullptr);
}

TEST(RuntimeSchema, RelationsOnlyWhenTheyChangeSomething) {
  const json::Value root = ParseJson(SchemaOf(R"({"database": {"entities": [
      {"id": "a", "name": "A", "detailPage": true, "fullTextSearch": true, "fields": [{"name": "t", "index": true}]},
      {"id": "b", "name": "B", "detailPage": false, "fields": [
        {"name": "x", "type": "lookup", "lookup": {"entity": "a"}, "listOnParent": true, "onDelete": "cascade"},
        {"name": "y", "type": "lookup", "lookup": {"entity": "a"}, "listOnParent": false, "onDelete": "restrict"}]}]}})"));
  const auto& tables = root.Find("entities")->Items();
  const auto& fields = tables[1].Find("fields")->Items();
  EXPECT_EQ(*tables[0].Find("detailPage"), json::Value::Boolean(true));
  EXPECT_EQ(*tables[0].Find("fullTextSearch"), json::Value::Boolean(true));
  EXPECT_EQ(*tables[0].Find("fields")->Items()[0].Find("index"), json::Value::Boolean(true));
  EXPECT_EQ(tables[1].Find("detailPage"), nullptr);
  EXPECT_EQ(*fields[0].Find("listOnParent"), json::Value::Boolean(true));
  EXPECT_EQ(*fields[0].Find("onDelete"), json::Value::String("cascade"));
  for (const char* key : {"listOnParent", "onDelete", "index"}) EXPECT_EQ(fields[1].Find(key), nullptr) << key;
}

TEST(RuntimeSchema, TablesAreCompleteWithoutUnknownKeys) {
  EXPECT_EQ(SchemaOf(R"({"notes": 1, "database": {"entities": [
              {"icon": "x", "id": "items", "displayField": "missing", "pageSize": "5",
               "fields": [{"name": "qty", "type": "int", "note": "n"}]}]}})"),
            Lines({
                "{",
                "  \"generator\": \"Kettlebourne Generator\",",
                "  \"engine\": \"sqlite\",",
                "  \"entities\": [",
                "    {",
                "      \"id\": \"items\",",
                "      \"name\": \"items\",",
                "      \"displayField\": \"qty\",",
                "      \"timestamps\": false,",
                "      \"pageSize\": 5,",
                "      \"fields\": [",
                "        {",
                "          \"name\": \"qty\",",
                "          \"label\": \"qty\",",
                "          \"type\": \"integer\",",
                "          \"length\": 255,",
                "          \"required\": false,",
                "          \"unique\": false,",
                "          \"showInList\": true,",
                "          \"searchable\": false,",
                "          \"default\": \"\",",
                "          \"options\": [",
                "          ],",
                "          \"lookup\": {",
                "            \"entity\": \"\",",
                "            \"field\": \"\"",
                "          },",
                "          \"help\": \"\"",
                "        }",
                "      ]",
                "    }",
                "  ]",
                "}",
            }));
}

TEST(RuntimeSchema, LookupsNameTheFieldTheyShow) {
  const std::string schema = SchemaOf(R"({"database": {"entities": [
      {"id": "books", "fields": [
        {"name": "author", "type": "lookup", "lookupEntity": "Authors"},
        {"name": "editor", "type": "lookup", "lookup": {"entity": "authors", "field": "bio"}},
        {"name": "lost", "type": "lookup", "lookupEntity": "nobody"},
        {"name": "plain", "type": "string", "lookupEntity": "authors"}]},
      {"id": "authors", "fields": [{"name": "born", "type": "date"}, {"name": "name"}]}]}})");
  const struct {
    std::size_t field;
    std::string_view expected;
  } cases[] = {
      {0, R"({"entity": "Authors", "field": "name"})"},
      {1, R"({"entity": "authors", "field": "bio"})"},
      {2, R"({"entity": "nobody", "field": ""})"},
      {3, R"({"entity": "authors", "field": ""})"},
  };
  for (const auto& c : cases) EXPECT_EQ(LookupOf(schema, 0, c.field), ParseJson(c.expected)) << c.field;
}

// A large schema comes in pieces of about 64 KiB that together are the whole text.
TEST(RuntimeSchema, LargeSchemaComesInPiecesThatMakeTheWholeText) {
  std::string tables;
  for (int t = 0; t < 400; ++t) {
    tables += std::string(t ? "," : "") + R"({"id": "t)" + std::to_string(t) + R"(", "fields": [)";
    for (int f = 0; f < 10; ++f) tables += std::string(f ? "," : "") + R"({"name": "f)" + std::to_string(f) + R"("})";
    tables += "]}";
  }
  Project project;
  project.LoadFromRoot(ParseJson(R"({"database": {"entities": [)" + tables + "]}}"));
  std::vector<std::string> pieces;
  WriteRuntimeSchema(project, [&](std::string_view piece) { pieces.emplace_back(piece); });
  ASSERT_GT(pieces.size(), 2u);
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i + 1 < pieces.size()) {
      EXPECT_GE(pieces[i].size(), 65536u) << i;
    }
    EXPECT_LT(pieces[i].size(), 65536u + 8192u) << i;  // at most one table beyond the piece size
    joined += pieces[i];
  }
  const json::Value root = ParseJson(joined);
  const std::vector<json::Value>& entities = root.Find("entities")->Items();
  ASSERT_EQ(entities.size(), 400u);
  EXPECT_EQ(entities[399].Find("id")->Text(), "t399");
  EXPECT_EQ(entities[399].Find("fields")->Items().size(), 10u);
}

}  // namespace
}  // namespace qb::model
