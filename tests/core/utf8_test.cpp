#include "core/utf8.hpp"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(Utf8Test, TrimRemovesBytesUpToBlankAtBothEnds) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"", ""},
      {" \t\r\n\x01 ", ""},
      {"  a b  ", "a b"},
      {"\x1f" "x" "\x20", "x"},
      {"\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0"},  // a no-break space is not trimmed
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.in), c.out) << c.in;
}

TEST(Utf8Test, CaseFunctionsTouchAsciiLettersOnly) {
  EXPECT_EQ(AsciiLower("MySQL \xC3\x84\xC3\xA4"), "mysql \xC3\x84\xC3\xA4");
  EXPECT_EQ(AsciiUpper("json \xC3\xA4"), "JSON \xC3\xA4");
  EXPECT_TRUE(SameTextAscii("Authors", "aUTHORS"));
  EXPECT_FALSE(SameTextAscii("\xC3\x84", "\xC3\xA4"));
  EXPECT_FALSE(SameTextAscii("ab", "abc"));
}

TEST(Utf8Test, CountsAndCutsByCodePoint) {
  struct Case { std::string text; std::size_t count; std::string first_two; };
  const Case cases[] = {
      {"", 0, ""},
      {"abc", 3, "ab"},
      {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", 3, "\xC3\xA4\xE2\x82\xAC"},
      {"\xFF" "a", 2, "\xFF" "a"},  // an ill-formed byte counts as one
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodePointCount(c.text), c.count) << c.text;
    EXPECT_EQ(Utf8Prefix(c.text, 2), c.first_two) << c.text;
  }
}

TEST(Utf8Test, RepairReplacesEachIllFormedSubpartWithOneReplacementCharacter) {
  const std::string fffd = "\xEF\xBF\xBD";
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"plain \xC3\xA4", "plain \xC3\xA4"},
      {"a\xFF" "b", "a" + fffd + "b"},
      {"\xC3", fffd},                                // truncated at the end
      {"\xE2\x82" "x", fffd + "x"},                  // truncated three-byte sequence: one replacement
      {"\xC0\xAF", fffd + fffd},                     // overlong form
      {"\xED\xA0\x80", fffd + fffd + fffd},          // surrogate
      {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // beyond U+10FFFF
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) EXPECT_EQ(RepairUtf8(c.in), c.out) << c.in;
}

TEST(Utf8Test, WellFormedOnlyWithoutAnyIllFormedSequence) {
  const std::string ascii_block = "0123456789abcdef";
  struct Case { std::string text; bool well_formed; };
  const Case cases[] = {
      {"", true},
      {ascii_block + ascii_block, true},
      {ascii_block + "\xC3\xA4" + ascii_block, true},
      {ascii_block + "\xF0\x9F\x98\x80", true},
      {ascii_block + "\xFF", false},          // after whole blocks of ASCII
      {"abc\xC3", false},                      // truncated at the end
      {"1234567\xE2\x82" "x1234567", false},  // a block holding part of a sequence
      {"\xED\xA0\x80", false},               // surrogate
      {"\xC0\xAF", false},                    // overlong form
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsWellFormedUtf8(c.text), c.well_formed) << c.text;
    EXPECT_EQ(RepairUtf8(c.text) == c.text, c.well_formed) << c.text;
  }
}

TEST(Utf8Test, AppendEncodesEveryLength) {
  std::string out;
  for (char32_t cp : {U'A', U'\u00E4', U'\u20AC', U'\U0001F600', char32_t{0xD800}}) AppendUtf8(out, cp);
  EXPECT_EQ(out, "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

}  // namespace
}  // namespace qb
