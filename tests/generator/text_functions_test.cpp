#include "generator/text_functions.hpp"

#include <gtest/gtest.h>

namespace qb::gen {
namespace {

TEST(TextFunctionsTest, SafeFileId) {
  struct Case { std::string in, fallback, out; };
  const Case cases[] = {
      {"about", "page", "about"},          {"a b", "page", "a_b"},
      {"2024 report", "page", "_2024_report"}, {"", "page", "page"},
      {"caf\xC3\xA9-x", "p", "caf_-x"},    {"../etc", "p", "___etc"},
      {"9", "p", "_9"},                    {"", "9x", "_9x"},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeFileId(c.in, c.fallback), c.out) << c.in;
}

TEST(TextFunctionsTest, PhpClassName) {
  struct Case { std::string in, out; };
  const Case cases[] = {{"about-us", "About_us"}, {"", "Generated"}, {"2fa", "_2fa"},
                        {"Books", "Books"},       {"\xC3\xA9t\xC3\xA9", "_t_"}, {"a b", "A_b"}};
  for (const auto& c : cases) EXPECT_EQ(PhpClassName(c.in), c.out) << c.in;
}

TEST(TextFunctionsTest, NormalizeRoute) {
  struct Case { std::string in, out; };
  const Case cases[] = {{"about", "/about"},       {"/about/", "/about"},     {"//", "/"},
                        {" \t", "/"},              {"/", "/"},                {" /a/b/ ", "/a/b"},
                        {"a//", "/a"},              {"//docs", "/docs"},       {"/\\helpdesk", "/helpdesk"},
                        {"\\\\host\\x", "/host/x"},  {"/\n/evil", "/evil"},     {"/\t\\/evil/", "/evil"},
                        {"/a\x7f b", "/a b"},        {"/docs//intro", "/docs/intro"}};
  for (const auto& c : cases) EXPECT_EQ(NormalizeRoute(c.in), c.out) << c.in;
}

TEST(TextFunctionsTest, SingleLine) {
  struct Case { std::string in, out; };
  const Case cases[] = {{"Shop", "Shop"}, {"A\r\nB", "A B"}, {"A\nB\rC", "A B C"}, {"A\n\nB", "A  B"},
                        {"\r\n", " "},    {"A\tB", "A\tB"}};
  for (const auto& c : cases) EXPECT_EQ(SingleLine(c.in), c.out) << c.in;
}

TEST(TextFunctionsTest, EscapingForPhpAndHtml) {
  EXPECT_EQ(PhpQuote("it's C:\\dir\r\nnext"), "it\\'s C:\\\\dir\\r\\nnext");
  EXPECT_EQ(PhpQuote("\\'"), "\\\\\\'");
  EXPECT_EQ(HtmlEscape("<a href=\"x\">Tom & Jerry's</a>"),
            "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#039;s&lt;/a&gt;");
  EXPECT_EQ(UrlEcho("/o'neil"), "<?= htmlspecialchars(url('/o\\'neil'), ENT_QUOTES, 'UTF-8') ?>");
}

}  // namespace
}  // namespace qb::gen
