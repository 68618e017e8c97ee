#include "core/json_parse.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <iterator>
#include <random>
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
      "\"\xC0\xAF\"",       // overlong encoding
      "\"\xF4\x90\x80\x80\"",  // beyond U+10FFFF
      "\"\\ud800\"",        // lone high surrogate
      "\"\\udc00\\ud800\"",  // low before high
      "\"\\ud800\\u0041\"",  // high surrogate without its low half
      "\"\\x\"",
      "\"\\u12\"",
      "\"abc",
      std::string("{}\0garbage", 10),  // nothing may follow the document, not even after a NUL
      "\f1",
      "01",
      "1.",
      ".5",
      "+1",
      "-",
      "1e",
      "1e+",
      "tru",
      "nulll",
      "1e999",    // beyond the range of a double
      "-1e400",
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
      {"-0", Kind::Number, "0"},
      {"-0.0", Kind::Number, "-0.0"},
      {"1e-999", Kind::Number, "1e-999"},  // an underflow is a number
      {"\xEF\xBB\xBF \"bom\"", Kind::String, "bom"},
      {"\"\\u0000\"", Kind::String, std::string(1, '\0')},
      {"\"\\/\\b\\f\\r\\t\\\"\\\\\"", Kind::String, "/\b\f\r\t\"\\"},
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

// Structural equality with nlohmann's reading of the same text; numbers compare by value.
bool SameAsReference(const Value& ours, const nlohmann::ordered_json& reference) {
  switch (ours.kind()) {
    case Kind::Null: return reference.is_null();
    case Kind::Boolean: return reference.is_boolean() && reference.get<bool>() == ours.AsBoolean();
    case Kind::Number: return reference.is_number() && std::strtod(ours.Text().c_str(), nullptr) == reference.get<double>();
    case Kind::String: return reference.is_string() && reference.get<std::string>() == ours.Text();
    case Kind::Array: {
      if (!reference.is_array() || reference.size() != ours.Items().size()) return false;
      for (std::size_t i = 0; i < ours.Items().size(); ++i)
        if (!SameAsReference(ours.Items()[i], reference[i])) return false;
      return true;
    }
    case Kind::Object: {
      if (!reference.is_object() || reference.size() != ours.Members().size()) return false;
      auto it = reference.begin();
      for (const Member& member : ours.Members()) {
        if (it.key() != member.key || !SameAsReference(member.value, it.value())) return false;
        ++it;
      }
      return true;
    }
  }
  return false;
}

// Random documents built from awkward pieces: every number form, escapes, surrogates, multi-byte
// text, repeated keys, layout whitespace.
class DocumentMaker {
 public:
  std::string Document(int depth = 0) {
    static const char* const kScalars[] = {
        "0", "-0", "-0.0", "1.5e3", "1E+2", "2e-400", "3e400", "-1e308", "1.7976931348623159e308",
        "123456789012345678901234567890", "9223372036854775807", "-9223372036854775809",
        "18446744073709551616", "true", "false", "null", "\"\"", "\"a\\u00e4\\n\"",
        "\"\\ud83d\\ude00\"", "\"\\u0000x\"", "\"\\/\\b\\f\\r\\t\\\"\"",
        "\"\xE2\x82\xAC a text longer than the small-string buffer\"", "\"\\uD834\\uDD1E\""};
    const unsigned pick = rng_() % 10;
    if (depth > 4 || pick < 5) return kScalars[rng_() % std::size(kScalars)];
    const bool object = pick >= 7;
    std::string out = object ? "{" : "[";
    for (unsigned i = 0, n = rng_() % 8; i < n; ++i) {
      if (i > 0) out += rng_() % 4 ? "," : " ,\r\n\t ";
      if (object) out += "\"k" + std::to_string(rng_() % 12) + "\" : ";
      out += Document(depth + 1);
    }
    return out + (object ? "}" : "]");
  }

  // The text with one byte replaced by a structural or number character.
  std::string Damaged(std::string text) {
    static constexpr std::string_view kBytes = "{}[]:,\"\\ 0e-.x\xC3\xFF\x01";
    if (!text.empty()) text[rng_() % text.size()] = kBytes[rng_() % kBytes.size()];
    return text;
  }

 private:
  std::mt19937 rng_{20261209};
};

TEST(JsonParseTest, AgreesWithTheReferenceParser) {
  DocumentMaker maker;
  int accepted = 0, refused = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string whole = maker.Document();
    for (const std::string& text : {whole, maker.Damaged(whole)}) {
      const auto ours = Parse(text);
      ASSERT_EQ(ours.has_value(), nlohmann::ordered_json::accept(text)) << text;
      if (!ours) {
        ++refused;
        continue;
      }
      ++accepted;
      EXPECT_TRUE(SameAsReference(*ours, nlohmann::ordered_json::parse(text))) << text;
    }
  }
  // Both outcomes must be well represented for the comparison to mean something.
  EXPECT_GT(accepted, 5000);
  EXPECT_GT(refused, 5000);
}

}  // namespace
}  // namespace qb::json
