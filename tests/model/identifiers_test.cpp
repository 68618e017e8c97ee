#include "model/identifiers.hpp"

#include <gtest/gtest.h>

#include <string>

namespace qb::model {
namespace {

TEST(IsValidIdentifier, AcceptsLowerCaseSqlNamesUpTo64) {
  const struct {
    std::string input;
    bool expected;
  } cases[] = {
      {"a", true},          {"order_items", true}, {"t2", true},           {"a_", true},
      {"", false},          {"Orders", false},     {"2nd", false},         {"_a", false},
      {"order-items", false}, {"caf\xC3\xA9", false}, {"a b", false},
      {std::string(64, 'a'), true},                {std::string(65, 'a'), false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidIdentifier(c.input), c.expected) << c.input;
}

TEST(SanitizeIdentifier, BuildsIdentifiersFromAnyText) {
  const struct {
    std::string input;
    std::string fallback;
    std::string expected;
  } cases[] = {
      {"Customer Orders!", "x", "customer_orders"},
      {"2nd table", "x", "f_2nd_table"},
      {"???", "kettlebourne", "kettlebourne"},
      {"", "", ""},
      {"__A__B__", "x", "a_b"},
      {"Book Shop", "x", "book_shop"},
      {"my-web-app", "x", "my_web_app"},
      // One separator per non-ASCII character, not one per byte; runs collapse.
      {"caf\xC3\xA9 bar", "x", "caf_bar"},
      {"a\xC3\xA9\xE2\x82\xACz", "x", "a_z"},
      {"\xC3\xBC" "ber", "x", "ber"},
      {std::string(70, 'B'), "x", std::string(64, 'b')},
      {"1" + std::string(70, 'a'), "x", "f_1" + std::string(61, 'a')},
      // The fallback is used unchanged but still cut at a character boundary.
      {"!", std::string(63, 'a') + "\xC3\xA9" + "z", std::string(63, 'a') + "\xC3\xA9"},
  };
  for (const auto& c : cases) EXPECT_EQ(SanitizeIdentifier(c.input, c.fallback), c.expected) << c.input;
}

TEST(ClassNameFromId, CapitalisesWordStarts) {
  const struct {
    std::string_view input;
    std::string_view expected;
  } cases[] = {
      {"order_items", "OrderItems"}, {"2fa_codes", "2faCodes"}, {"a", "A"},          {"__x__y", "XY"},
      {"", "Entity"},                {"___", "Entity"},         {"Abc_def", "AbcDef"}, {"a_1b", "A1b"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassNameFromId(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace qb::model
