#include "core/json_write.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/json_parse.hpp"

namespace qb::json {
namespace {

Value Obj(std::initializer_list<std::pair<std::string, Value>> members) {
  Value v = Value::Object();
  for (const auto& [k, val] : members) v.Set(k, val);
  return v;
}

TEST(JsonWriteTest, NestedObjectsAndArraysUseTwoSpacesAndCrLf) {
  Value items = Value::Array();
  items.Append(Value::Integer(1));
  items.Append(Value::Boolean(false));
  items.Append(Value());
  const Value root = Obj({{"name", Value::String("Shop")}, {"items", items}, {"inner", Obj({{"a", Value::Boolean(true)}})}});
  EXPECT_EQ(Write(root),
            "{\r\n"
            "  \"name\": \"Shop\",\r\n"
            "  \"items\": [\r\n"
            "    1,\r\n"
            "    false,\r\n"
            "    null\r\n"
            "  ],\r\n"
            "  \"inner\": {\r\n"
            "    \"a\": true\r\n"
            "  }\r\n"
            "}");
}

TEST(JsonWriteTest, EmptyContainersTakeTwoLinesAtTheirIndentation) {
  EXPECT_EQ(Write(Value::Object()), "{\r\n}");
  EXPECT_EQ(Write(Value::Array()), "[\r\n]");
  EXPECT_EQ(Write(Obj({{"entities", Value::Array()}, {"x", Obj({{"y", Value::Object()}})}})),
            "{\r\n"
            "  \"entities\": [\r\n"
            "  ],\r\n"
            "  \"x\": {\r\n"
            "    \"y\": {\r\n"
            "    }\r\n"
            "  }\r\n"
            "}");
}

TEST(JsonWriteTest, EscapesExactlyTheNamedCharactersAndOtherControlsAsUnicode) {
  struct Case { std::string text, written; };
  const Case cases[] = {
      {"say \"hi\"", R"("say \"hi\"")"},
      {"C:\\dir", R"("C:\\dir")"},
      {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
      {"a/b", R"("a/b")"},
      {"\xC3\xA4\xE2\x82\xAC", "\"\xC3\xA4\xE2\x82\xAC\""},
      {std::string("\x01\x1f\x00", 3), R"("\u0001\u001f\u0000")"},
      {"\x7f", "\"\x7f\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Write(Value::String(c.text)), c.written);
    const auto back = Parse(c.written);
    ASSERT_TRUE(back.has_value()) << c.written;
    EXPECT_EQ(back->Text(), c.text);
  }
}

TEST(JsonWriteTest, KeysAreEscapedLikeStrings) {
  EXPECT_EQ(Write(Obj({{"a\"b", Value::Integer(-2)}})), "{\r\n  \"a\\\"b\": -2\r\n}");
}

TEST(JsonWriteTest, NumbersAreWrittenAsParsed) {
  for (const char* text : {"1.50", "1e5", "-0.0", "12345678901234567890", "3.0E-7"}) {
    const auto v = Parse(text);
    ASSERT_TRUE(v.has_value()) << text;
    EXPECT_EQ(Write(*v), text);
  }
}

TEST(JsonWriteTest, ParseWriteParseKeepsOrderAndTexts) {
  const std::string text =
      "{\r\n"
      "  \"zeta\": 1.000,\r\n"
      "  \"alpha\": [\r\n"
      "    {\r\n"
      "      \"b\": \"x\",\r\n"
      "      \"a\": 2E3\r\n"
      "    },\r\n"
      "    [\r\n"
      "    ]\r\n"
      "  ],\r\n"
      "  \"mid\": null\r\n"
      "}";
  const auto first = Parse(text);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(Write(*first), text);
  const auto second = Parse(Write(*first));
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(*second, *first);
}

// The pieces put together are Write's text of the same value with the source arrays filled in.
TEST(JsonWriteTest, WriteInPiecesMatchesWriteOfTheFilledTree) {
  const std::string long_text(70000, 'x');  // more than one piece on its own
  struct Case {
    const char* name;
    std::size_t outer_items, inner_items;
  };
  const Case cases[] = {{"empty sources", 0, 0}, {"one item each", 1, 1}, {"many items", 50, 3}, {"long items", 3, 2}};
  for (const Case& c : cases) {
    auto item = [&](std::size_t i) {
      return Obj({{"n", Value::Integer(static_cast<long long>(i))},
                  {"text", Value::String(c.outer_items == 3 ? long_text : "a\"b")}});
    };
    Value skeleton = Obj({{"head", Value::String("h")},
                          {"outer", Value::Array()},
                          {"nested", Obj({{"inner", Value::Array()}, {"kept", Value::Array()}})},
                          {"tail", Value::Boolean(true)}});
    skeleton.Find("nested")->Find("kept")->Append(Value());
    Value filled = skeleton;
    for (std::size_t i = 0; i < c.outer_items; ++i) filled.Find("outer")->Append(item(i));
    for (std::size_t i = 0; i < c.inner_items; ++i) filled.Find("nested")->Find("inner")->Append(item(i + 100));
    const ItemSource sources[] = {
        {skeleton.Find("outer"), c.outer_items, [&](std::size_t i, Emitter& out) { out.Raw(item(i)); }},
        {skeleton.Find("nested")->Find("inner"), c.inner_items,
         [&](std::size_t i, Emitter& out) { out.Raw(item(i + 100)); }}};
    std::vector<std::string> pieces;
    WriteInPieces(skeleton, sources, [&](std::string_view piece) { pieces.emplace_back(piece); });
    std::string joined;
    for (const std::string& piece : pieces) joined += piece;
    EXPECT_EQ(joined, Write(filled)) << c.name;
    EXPECT_EQ(pieces.size() > 1, joined.size() > 70000) << c.name;
    for (const std::string& piece : pieces) EXPECT_FALSE(piece.empty()) << c.name;
  }
}

// The emitter's text, value by value, is Write's text of the same document, at any depth.
TEST(JsonWriteTest, EmitterWritesWhatWriteWrites) {
  const Value document = Obj({{"s", Value::String("a\"b\n")},
                              {"empty object", Value::Object()},
                              {"list", Value::Array()},
                              {"t", Value::Boolean(true)},
                              {"n", Value::Integer(-12)}});
  Value list_items = document;
  list_items.Find("list")->Append(Value::String("x"));
  list_items.Find("list")->Append(Value::Array());
  list_items.Find("list")->Append(Obj({{"k", Value::Boolean(false)}}));
  std::string text;
  Emitter out(text);
  out.BeginObject();
  out.Key("s");
  out.String("a\"b\n");
  out.Key("empty object");
  out.BeginObject();
  out.End();
  out.Key("list");
  out.BeginArray();
  out.String("x");
  out.BeginArray();
  out.End();
  out.Raw(Obj({{"k", Value::Boolean(false)}}));
  out.End();
  out.Key("t");
  out.Boolean(true);
  out.Key("n");
  out.Integer(-12);
  out.End();
  EXPECT_EQ(text, Write(list_items));
  // Two levels deep, as an item of an array inside an object.
  std::string nested;
  Emitter deep(nested, 2);
  deep.Raw(document);
  std::string expected;
  AppendTo(expected, document, 2);
  EXPECT_EQ(nested, expected);
}

}  // namespace
}  // namespace qb::json
