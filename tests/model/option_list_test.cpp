#include "model/option_list.hpp"

#include <gtest/gtest.h>

namespace qb::model {
namespace {

using Items = std::vector<std::string>;

TEST(SplitOptionText, SplitsOnCommasAndBlanksOutsideQuotes) {
  const struct {
    std::string_view input;
    Items expected;
  } cases[] = {
      {"Red, Green,Blue", {"Red", "Green", "Blue"}},
      {"Light Blue, Navy", {"Light", "Blue", "Navy"}},
      {"a,,b", {"a", "b"}},
      {"", {}},
      {" , ,\t", {}},
      {"\"Light Blue\", Navy", {"Light Blue", "Navy"}},
      {"\"a, b\",c", {"a, b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"  padded  \"", {"padded"}},
      {"\"\",x", {"x"}},
      {"\"open ended", {"open ended"}},
      {"\"ab\"cd", {"ab", "cd"}},
      {"x\"y", {"x\"y"}},
      {"caf\xC3\xA9,th\xC3\xA9", {"caf\xC3\xA9", "th\xC3\xA9"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitOptionText(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace qb::model
