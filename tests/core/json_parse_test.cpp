#include "core/json_parse.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/json_write.hpp"

namespace qb::json {
namespace {

std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(JsonParseTest, RejectsInvalidDocuments) {
  const std::string invalid[] = {
      "",
      "{",
      "{\"a\":1,}",
      "[1 2]",
      "{'a':1}",
      "{\"a\":1} x",
      "\"\xFF\"",           // invalid UTF-8 inside a string
      "\"\xED\xA0\x80\"",   // encoded surrogate
      "\"a\x01\"",          // raw control character
      "// c\n{}",
      "NaN",
      Nested(kMaxDepth + 1),
      "{\"a\":" + Nested(kMaxDepth) + "}",
  };
  for (const auto& text : invalid) EXPECT_FALSE(Parse(text).has_value()) << text.substr(0, 40);
}

TEST(JsonParseTest, AcceptsDocumentsUpToTheDepthLimit) {
  const auto v = Parse(Nested(kMaxDepth));
  ASSERT_TRUE(v.has_value());
  EXPECT_TRUE(v->IsArray());
}

TEST(JsonParseTest, ScalarsKeepTheirTexts) {
  struct Case { std::string text; Kind kind; std::string value; };
  const Case cases[] = {
      {"null", Kind::Null, ""},
      {"  true ", Kind::Boolean, ""},
      {"42", Kind::Number, "42"},
      {"-7", Kind::Number, "-7"},
      {"18446744073709551615", Kind::Number, "18446744073709551615"},
      {"99999999999999999999", Kind::Number, "99999999999999999999"},
      {"1.250", Kind::Number, "1.250"},
      {"-1E-2", Kind::Number, "-1E-2"},
      {"\"a\\u00e4\\n\"", Kind::String, "a\xC3\xA4\n"},
      {"\"\\ud83d\\ude00\"", Kind::String, "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    const auto v = Parse(c.text);
    ASSERT_TRUE(v.has_value()) << c.text;
    EXPECT_EQ(v->kind(), c.kind) << c.text;
    EXPECT_EQ(v->Text(), c.value) << c.text;
  }
}

TEST(JsonParseTest, KeepsMemberOrder) {
  const auto v = Parse(R"({"z":1,"a":2,"m":{"y":[],"b":{}}})");
  ASSERT_TRUE(v.has_value());
  ASSERT_EQ(v->Members().size(), 3u);
  EXPECT_EQ(v->Members()[0].key, "z");
  EXPECT_EQ(v->Members()[1].key, "a");
  EXPECT_EQ(v->Members()[2].key, "m");
  EXPECT_EQ(v->Members()[2].value.Members()[0].key, "y");
  EXPECT_EQ(v->Members()[2].value.Members()[1].key, "b");
}

TEST(JsonParseTest, RepeatedMemberKeepsFirstPlaceAndLastValue) {
  const auto v = Parse(R"({"a":1,"b":2,"a":{"x":3},"c":4,"b":5})");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(Write(*v),
            "{\r\n"
            "  \"a\": {\r\n"
            "    \"x\": 3\r\n"
            "  },\r\n"
            "  \"b\": 5,\r\n"
            "  \"c\": 4\r\n"
            "}");
}

TEST(JsonParseTest, ManyMembersWithRepeatsStayLinear) {
  std::string text = "{";
  for (int i = 0; i < 50000; ++i) text += "\"k" + std::to_string(i % 1000) + "\":" + std::to_string(i) + ",";
  text += "\"end\":0}";
  const auto v = Parse(text);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->Members().size(), 1001u);
  EXPECT_EQ(v->Find("k0")->Text(), "49000");
}

}  // namespace
}  // namespace qb::json
