#include "model/entity.hpp"

#include <gtest/gtest.h>

#include "core/json_write.hpp"
#include "json_text.hpp"

namespace qb::model {
namespace {

using test::Lines;
using test::ParseJson;

Entity Load(std::string_view json_text) {
  Entity entity;
  entity.LoadFromJson(ParseJson(json_text));
  return entity;
}

TEST(Entity, LoadReadsDefaultsAndLenientValues) {
  const struct {
    std::string_view json;
    std::string_view name;
    std::int32_t page_size;
    bool timestamps;
  } cases[] = {
      {R"({"id":"books"})", "books", 20, false},
      {R"({"id":"books","name":"Books","pageSize":"15","timestamps":"yes"})", "Books", 15, true},
      {R"({"id":"books","pageSize":0})", "books", 0, false},
      {R"({"id":"books","pageSize":"many","timestamps":2})", "books", 20, false},
  };
  for (const auto& c : cases) {
    const Entity e = Load(c.json);
    EXPECT_EQ(e.name, c.name) << c.json;
    EXPECT_EQ(e.page_size, c.page_size) << c.json;
    EXPECT_EQ(e.timestamps, c.timestamps) << c.json;
  }
}

TEST(Entity, LoadSkipsFieldEntriesThatAreNotObjects) {
  const Entity e = Load(R"({"fields":["title", {"name":"title"}, 3, null]})");
  ASSERT_EQ(e.fields.size(), 1u);
  EXPECT_EQ(e.fields[0].name, "title");
  EXPECT_TRUE(Load(R"({"fields":{"name":"title"}})").fields.empty());
}

TEST(Entity, FieldByNameIgnoresAsciiCase) {
  const Entity e = Load(R"({"fields":[{"name":"Title"},{"name":"title"}]})");
  ASSERT_NE(e.FieldByName("TITLE"), nullptr);
  EXPECT_EQ(e.FieldByName("TITLE"), &e.fields[0]);
  EXPECT_EQ(e.FieldByName("titl"), nullptr);
}

TEST(Entity, EffectiveDisplayFieldTakesTheFirstRuleThatApplies) {
  const struct {
    std::string_view json;
    std::string_view expected;
  } cases[] = {
      {R"({"displayField":"price","fields":[{"name":"price","type":"decimal"},{"name":"title"}]})", "price"},
      {R"({"displayField":"PRICE","fields":[{"name":"price","type":"decimal"}]})", "PRICE"},
      {R"({"displayField":"id","fields":[{"name":"title"}]})", "id"},
      {R"({"displayField":"ID","fields":[{"name":"title"}]})", "title"},
      {R"({"displayField":"missing","fields":[{"name":"n","type":"integer"}]})", "n"},
      {R"({"fields":[{"name":"price","type":"decimal"},{"name":"title"}]})", "title"},
      {R"({"fields":[{"name":"secret","type":"password"},{"name":"ok","type":"boolean"},
                     {"name":"born","type":"date"}]})", "born"},
      {R"({"fields":[{"name":"ok","type":"boolean"},{"name":"secret","type":"password"}]})", "id"},
      {R"({})", "id"},
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.json).EffectiveDisplayField(), c.expected) << c.json;
}

TEST(Entity, SaveKeepsUnknownKeysAndTheStoredDisplayField) {
  EXPECT_EQ(json::Write(Load(R"({"fields":"x","id":"books","icon":"book","displayField":"nope"})").ToJson(false)),
            Lines({
                "{",
                "  \"icon\": \"book\",",
                "  \"id\": \"books\",",
                "  \"name\": \"books\",",
                "  \"displayField\": \"nope\",",
                "  \"timestamps\": false,",
                "  \"pageSize\": 20,",
                "  \"fields\": [",
                "  ]",
                "}",
            }));
}

TEST(Entity, RuntimeFormHasTheEffectiveDisplayFieldAndNoUnknownKeys) {
  const json::Value runtime =
      Load(R"({"id":"books","icon":"book","displayField":"nope","fields":[{"name":"title","x":1}]})").ToJson(true);
  EXPECT_EQ(runtime.Find("icon"), nullptr);
  EXPECT_EQ(runtime.Find("displayField")->Text(), "title");
  EXPECT_EQ(runtime.Find("fields")->Items()[0].Find("x"), nullptr);
}

}  // namespace
}  // namespace qb::model
