#include "generator/crud_theme.hpp"

#include <gtest/gtest.h>

namespace qb::gen {
namespace {

TEST(CrudThemeTest, ParametersFallBackToTheDefaults) {
  struct Case { std::string in, preset, layout; };
  const Case cases[] = {
      {"", "studio", "dashboard"},
      {"  MIDNIGHT\t", "midnight", "dashboard"},
      {"ocean", "studio", "dashboard"},
      {"Centered", "studio", "centered"},
      {"wide ", "studio", "wide"},
      {"full", "studio", "dashboard"},
      {"campus", "campus", "dashboard"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NormalizePreset(c.in), c.preset) << c.in;
    EXPECT_EQ(NormalizeLayout(c.in), c.layout) << c.in;
  }
}

TEST(CrudThemeTest, AccentIsAHashAndSixHexDigits) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"#ABCDEF", "#ABCDEF"}, {" #12ab9F ", "#12ab9F"}, {"#abcdeg", "#2563eb"}, {"2563eb", "#2563eb"},
      {"#12345", "#2563eb"},  {"#1234567", "#2563eb"},  {"", "#2563eb"},        {"#12345\xC3\xA9", "#2563eb"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeAccent(c.in), c.out) << c.in;
}

TEST(CrudThemeTest, StylesheetHasThirtyRulesWithTheAccent) {
  const std::string css = BuildThemeCss("#ABCDEF");
  std::size_t lines = 0;
  for (std::size_t at = css.find("\r\n"); at != std::string::npos; at = css.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, 30u);
  EXPECT_TRUE(css.starts_with(
      ":root{--ktb-accent:#ABCDEF;--ktb-ink:#172033;--ktb-muted:#64748b;--ktb-surface:#ffffff;--ktb-page:#f4f7fb;"
      "--ktb-line:#e5eaf2;}\r\n"));
  EXPECT_TRUE(css.ends_with(
      "@media(max-width:700px){body .ktb-shell>header{align-items:flex-start!important}body .ktb-shell>header nav"
      "{gap:.25rem!important}body .ktb-shell>header nav a{padding:.45rem .55rem}}\r\n"));
  EXPECT_NE(css.find("body.ktb-layout-centered .ktb-shell{max-width:1080px!important;margin-inline:auto;}\r\n"),
            std::string::npos);
  EXPECT_EQ(css.find('\n', 0) + 1, css.find("body.ktb-theme-studio"));
}

}  // namespace
}  // namespace qb::gen
