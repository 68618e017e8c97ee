#include "model/field.hpp"

#include <gtest/gtest.h>

#include "core/json_write.hpp"
#include "json_text.hpp"

namespace qb::model {
namespace {

using test::Lines;
using test::ParseJson;

Field Load(std::string_view json_text) {
  Field field;
  field.LoadFromJson(ParseJson(json_text));
  return field;
}

std::string Saved(std::string_view json_text) { return json::Write(Load(json_text).ToJson(false)); }

TEST(Field, NewFieldHasTheDocumentedDefaults) {
  const Field f;
  EXPECT_EQ(f.type, "string");
  EXPECT_EQ(f.max_length, 255);
  EXPECT_TRUE(f.show_in_list);
  EXPECT_TRUE(f.searchable);
  EXPECT_FALSE(f.required);
  EXPECT_FALSE(f.unique);
}

TEST(Field, LoadAppliesTypeDefaultsUnlessTheFileSaysOtherwise) {
  const struct {
    std::string_view json;
    std::string_view type;
    std::int32_t length;
    bool show_in_list;
    bool searchable;
  } cases[] = {
      {R"({"name":"age","type":"INT"})", "integer", 255, true, false},
      {R"({"name":"mobile","type":"tel"})", "phone", 30, true, true},
      {R"({"name":"mobile","type":"tel","length":20})", "phone", 20, true, true},
      {R"({"type":"textarea"})", "text", 255, false, true},
      {R"({"type":"password"})", "password", 255, false, false},
      {R"({"type":"password","showInList":"yes","searchable":1})", "password", 255, true, true},
      {R"({"type":"string","showInList":false,"length":"x"})", "string", 255, false, true},
      {R"({})", "string", 255, true, true},
      {R"({"type":"lookup"})", "lookup", 255, true, true},
      {R"({"type":"blob","length":-3})", "blob", -3, true, false},
  };
  for (const auto& c : cases) {
    const Field f = Load(c.json);
    EXPECT_EQ(f.type, c.type) << c.json;
    EXPECT_EQ(f.max_length, c.length) << c.json;
    EXPECT_EQ(f.show_in_list, c.show_in_list) << c.json;
    EXPECT_EQ(f.searchable, c.searchable) << c.json;
  }
}

TEST(Field, ApplyTypeDefaultsClearsUniqueForTypesThatCannotBeUnique) {
  for (std::string_view type : {"text", "password", "boolean", "string"}) {
    Field f;
    f.type = type;
    f.unique = true;
    f.max_length = 0;
    f.ApplyTypeDefaults();
    EXPECT_EQ(f.unique, type == "string") << type;
    EXPECT_EQ(f.max_length, type == "string" ? 255 : 0) << type;
  }
}

TEST(Field, LabelDefaultsToName) {
  EXPECT_EQ(Load(R"({"name":"age"})").label, "age");
  EXPECT_EQ(Load(R"({"name":"age","label":"Age"})").label, "Age");
}

TEST(Field, DefaultValueReadsBooleansAndNumbersAsText) {
  EXPECT_EQ(Load(R"({"default":false})").default_value, "false");
  EXPECT_EQ(Load(R"({"default":true})").default_value, "true");
  EXPECT_EQ(Load(R"({"default":1.50})").default_value, "1.50");
  EXPECT_EQ(Load(R"({"default":null})").default_value, "");
}

TEST(Field, OptionsComeFromAnArrayOrCommaText) {
  const struct {
    std::string_view json;
    std::vector<std::string> expected;
  } cases[] = {
      {R"({"options":"a,,b"})", {"a", "b"}},
      {R"({"options":["  x ", "", 3, true, null]})", {"x", "3"}},
      {R"({"options":"Light Blue, Navy"})", {"Light", "Blue", "Navy"}},
      {R"({"options":"\"Light Blue\", Navy"})", {"Light Blue", "Navy"}},
      {R"({"options":7})", {"7"}},
      {R"({"options":{"a":1}})", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.json).options, c.expected) << c.json;
}

TEST(Field, LookupReadsBothFormsAndTheNestedOneWins) {
  const struct {
    std::string_view json;
    std::string_view entity;
    std::string_view field;
  } cases[] = {
      {R"({"lookupEntity":"authors","lookupField":"name"})", "authors", "name"},
      {R"({"lookup":{"entity":"authors","field":"name"}})", "authors", "name"},
      {R"({"lookup":{"entity":"a"},"lookupEntity":"b","lookupField":"c"})", "a", "c"},
      {R"({"lookup":"authors","lookupEntity":"b"})", "b", ""},
  };
  for (const auto& c : cases) {
    const Field f = Load(c.json);
    EXPECT_EQ(f.lookup_entity, c.entity) << c.json;
    EXPECT_EQ(f.lookup_field, c.field) << c.json;
  }
}

TEST(Field, SavesFlatLookupAsNestedAndKeepsUnknownKeysFirst) {
  EXPECT_EQ(Saved(R"({"name":"author","note":"n","type":"lookup","lookupEntity":"authors","lookupField":"name",
                      "lookup":"old","x":[]})"),
            Lines({
                "{",
                "  \"note\": \"n\",",
                "  \"x\": [",
                "  ],",
                "  \"name\": \"author\",",
                "  \"label\": \"author\",",
                "  \"type\": \"lookup\",",
                "  \"required\": false,",
                "  \"unique\": false,",
                "  \"showInList\": true,",
                "  \"searchable\": true,",
                "  \"default\": \"\",",
                "  \"lookup\": {",
                "    \"entity\": \"authors\",",
                "    \"field\": \"name\"",
                "  },",
                "  \"help\": \"\"",
                "}",
            }));
}

TEST(Field, SaveDropsKeysTheTypeDoesNotUse) {
  EXPECT_EQ(Saved(R"({"name":"age","type":"INT","length":9,"options":["a"],"lookup":{"entity":"x"},
                      "default":false})"),
            Lines({
                "{",
                "  \"name\": \"age\",",
                "  \"label\": \"age\",",
                "  \"type\": \"integer\",",
                "  \"required\": false,",
                "  \"unique\": false,",
                "  \"showInList\": true,",
                "  \"searchable\": false,",
                "  \"default\": \"false\",",
                "  \"help\": \"\"",
                "}",
            }));
}

TEST(Field, SelectSavesLengthAndOptions) {
  EXPECT_EQ(Saved(R"({"name":"colour","type":"enum","options":"Red, Green","required":"TRUE","unique":1})"),
            Lines({
                "{",
                "  \"name\": \"colour\",",
                "  \"label\": \"colour\",",
                "  \"type\": \"select\",",
                "  \"length\": 255,",
                "  \"required\": true,",
                "  \"unique\": true,",
                "  \"showInList\": true,",
                "  \"searchable\": true,",
                "  \"default\": \"\",",
                "  \"options\": [",
                "    \"Red\",",
                "    \"Green\"",
                "  ],",
                "  \"help\": \"\"",
                "}",
            }));
}

TEST(Field, RuntimeFormIsCompleteAndHasNoUnknownKeys) {
  EXPECT_EQ(json::Write(Load(R"({"name":"title","note":"n","lookupEntity":"x"})").ToJson(true)),
            Lines({
                "{",
                "  \"name\": \"title\",",
                "  \"label\": \"title\",",
                "  \"type\": \"string\",",
                "  \"length\": 255,",
                "  \"required\": false,",
                "  \"unique\": false,",
                "  \"showInList\": true,",
                "  \"searchable\": true,",
                "  \"default\": \"\",",
                "  \"options\": [",
                "  ],",
                "  \"lookup\": {",
                "    \"entity\": \"x\",",
                "    \"field\": \"\"",
                "  },",
                "  \"help\": \"\"",
                "}",
            }));
}

TEST(Field, CopyIncludesTheLoadedObject) {
  const Field original = Load(R"({"note":"kept","name":"a"})");
  Field copy;
  copy = original;
  EXPECT_EQ(copy.ToJson(false), original.ToJson(false));
  EXPECT_NE(copy.ToJson(false).Find("note"), nullptr);
}

}  // namespace
}  // namespace qb::model
