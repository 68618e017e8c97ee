#include "model/json_access.hpp"

#include <gtest/gtest.h>

#include "core/json_write.hpp"
#include "json_text.hpp"

namespace qb::model {
namespace {

using test::ParseJson;

const json::Value kSample = ParseJson(R"({
  "s": "text", "n": 12.50, "t": true, "f": false, "z": null, "o": {}, "a": [1],
  "T": "TRUE", "one": 1, "two": 2, "yes": "Yes", "no": "no", "y": "y", "zero": "0",
  "ws": " 42 ", "frac": 12.5, "word": "abc", "empty": "", "big": 99999999999, "neg": "-3"
})");

TEST(JsonStr, TakesStringsAndNumberTextOnly) {
  const struct {
    std::string_view key;
    std::string_view expected;
  } cases[] = {
      {"s", "text"}, {"n", "12.50"}, {"t", "dflt"}, {"z", "dflt"}, {"o", "dflt"},
      {"a", "dflt"}, {"missing", "dflt"}, {"empty", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonStr(&kSample, c.key, "dflt"), c.expected) << c.key;
  EXPECT_EQ(JsonStr(nullptr, "s", "dflt"), "dflt");
}

TEST(JsonBool, ReadsBooleanWordsAndDigits) {
  const struct {
    std::string_view key;
    bool fallback;
    bool expected;
  } cases[] = {
      {"t", false, true},   {"f", true, false},   {"T", false, true},    {"one", false, true},
      {"yes", false, true}, {"no", true, false},  {"zero", true, false}, {"y", false, false},
      {"y", true, true},    {"two", true, true},  {"two", false, false}, {"z", true, true},
      {"o", false, false},  {"a", true, true},    {"missing", true, true},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonBool(&kSample, c.key, c.fallback), c.expected) << c.key;
  EXPECT_TRUE(JsonBool(nullptr, "t", true));
}

TEST(JsonInt, ReadsWholeNumbersFromNumbersAndStrings) {
  const struct {
    std::string_view key;
    std::int32_t expected;
  } cases[] = {
      {"one", 1},   {"ws", 42},    {"neg", -3},  {"frac", -1}, {"word", -1},
      {"empty", -1}, {"t", -1},    {"a", -1},    {"big", -1},  {"missing", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonInt(&kSample, c.key, -1), c.expected) << c.key;
}

TEST(PutPair, MovesAWrittenKeyToTheEnd) {
  json::Value obj = ParseJson(R"({"a": 1, "b": 2, "c": 3})");
  PutPair(obj, "a", json::Value::String("x"));
  PutPair(obj, "d", json::Value::Boolean(true));
  EXPECT_EQ(obj, ParseJson(R"({"b": 2, "c": 3, "a": "x", "d": true})"));
}

// Both sinks: unwritten keys kept in order, then the written ones in writing order.
TEST(PairSinks, KeepUnwrittenKeysThenAppendWrittenOnesInWritingOrder) {
  const json::Value loaded = ParseJson(R"({"b": 2, "x": [1], "a": 1, "dropped": 0, "y": {}})");
  struct Case { const json::Value* loaded; const char* expected; };
  const Case cases[] = {
      {&loaded, R"({"x": [1], "y": {}, "a": "A", "b": true, "c": 3, "d": ["p"], "e": {"f": "g"}})"},
      {nullptr, R"({"a": "A", "b": true, "c": 3, "d": ["p"], "e": {"f": "g"}})"},
  };
  const auto write = [](auto& out, const json::Value* from) {
    out.Keep(from, {"a", "b", "c", "d", "e", "dropped"});
    out.PutString("a", "A");
    out.PutBoolean("b", true);
    out.PutInteger("c", 3);
    out.PutStrings("d", {"p"});
    out.PutStringPairs("e", {{"f", "g"}});
  };
  for (const Case& c : cases) {
    const std::string expected = json::Write(ParseJson(c.expected));
    PairWriter built;
    write(built, c.loaded);
    EXPECT_EQ(json::Write(built.Take()), expected) << c.expected;
    std::string text;
    json::Emitter emitter(text);
    PairEmitter emitted(emitter);
    emitter.BeginObject();
    write(emitted, c.loaded);
    emitter.End();
    EXPECT_EQ(text, expected) << c.expected;
  }
}

TEST(EnsureObject, KeepsAnObjectInPlaceAndReplacesOtherKinds) {
  json::Value obj = ParseJson(R"({"o": {"k": 1}, "s": "text", "z": 0})");
  EnsureObject(obj, "o").Set("m", json::Value::Integer(2));
  EnsureObject(obj, "s");
  EnsureObject(obj, "new");
  EXPECT_EQ(obj, ParseJson(R"({"o": {"k": 1, "m": 2}, "z": 0, "s": {}, "new": {}})"));
}

TEST(CloneOrNew, CopiesOrStartsEmpty) {
  EXPECT_EQ(CloneOrNew(nullptr), json::Value::Object());
  EXPECT_EQ(CloneOrNew(&kSample), kSample);
}

TEST(CloneOrNew, LeavesOutTheNamedMembersAndKeepsTheOrderOfTheRest) {
  const json::Value obj = test::ParseJson(R"({"z": 1, "fields": [1], "a": {"fields": 2}, "m": "x"})");
  struct Case { std::initializer_list<std::string_view> skip; const char* expected; };
  const Case cases[] = {
      {{}, R"({"z": 1, "fields": [1], "a": {"fields": 2}, "m": "x"})"},
      {{"fields"}, R"({"z": 1, "a": {"fields": 2}, "m": "x"})"},
      {{"z", "m", "missing"}, R"({"fields": [1], "a": {"fields": 2}})"},
  };
  for (const Case& c : cases) EXPECT_EQ(CloneOrNew(&obj, c.skip), test::ParseJson(c.expected)) << c.expected;
  EXPECT_EQ(CloneOrNew(nullptr, {"a"}), json::Value::Object());
  const json::Value array = test::ParseJson("[1]");
  EXPECT_EQ(CloneOrNew(&array), json::Value::Object());
}

}  // namespace
}  // namespace qb::model
