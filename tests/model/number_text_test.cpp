#include "model/number_text.hpp"

#include <gtest/gtest.h>

namespace qb::model {
namespace {

TEST(IsNumericText, AcceptsDecimalNumbers) {
  const struct {
    std::string_view input;
    bool expected;
  } cases[] = {
      {"0", true},      {"-12", true},   {"+3.25", true}, {"1e3", true},   {"2.5E-4", true}, {" 7 ", true},
      {"", false},      {"  ", false},   {"12abc", false}, {".5", false},  {"5.", false},    {"1e", false},
      {"1e+", false},   {"-", false},    {"1,5", false},  {"0x10", false}, {"1 2", false},   {"--1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsNumericText(c.input), c.expected) << '"' << c.input << '"';
}

TEST(ParseWholeNumber, ReadsTrimmed32BitWholeNumbers) {
  const struct {
    std::string_view input;
    std::optional<std::int32_t> expected;
  } cases[] = {
      {"15", 15},          {" 15 ", 15},        {"-4", -4},          {"+4", 4},
      {"0", 0},            {"2147483647", 2147483647},               {"-2147483648", -2147483647 - 1},
      {"2147483648", {}},  {"12.5", {}},        {"abc", {}},         {"", {}},
      {"+", {}},           {"+-1", {}},         {"1e3", {}},         {"3 4", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseWholeNumber(c.input), c.expected) << '"' << c.input << '"';
}

}  // namespace
}  // namespace qb::model
