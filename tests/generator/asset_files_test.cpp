#include "generator/asset_files.hpp"

#include <gtest/gtest.h>

#include <string>

#include "generator/tailwind_css.hpp"
#include "model/json_text.hpp"

namespace qb::gen {
namespace {

using test::Lines;
using test::ParseJson;

// Lines of a generated text file: each one ends in CR LF.
std::string FileLines(std::initializer_list<std::string_view> lines) { return Lines(lines) + "\r\n"; }

TEST(AssetFilesTest, StylesheetByFramework) {
  const std::string bootstrap =
      FileLines({"/* Bootstrap 5 is loaded by the shared layout. Add project-specific overrides here. */"});
  struct Case { std::string framework, text; };
  const Case cases[] = {
      {"plain-css", FileLines({
           "/* Kettlebourne application styles */",
           "body { margin: 0; font-family: system-ui, sans-serif; color: #212529; }",
           ".container { width: min(100% - 2rem, 72rem); margin-inline: auto; }",
           ".py-4 { padding-block: 1.5rem; } .py-5 { padding-block: 3rem; }",
           ".mb-4 { margin-bottom: 1.5rem; } .text-decoration-none { text-decoration: none; }",
       })},
      {"bootstrap5", bootstrap},
      {"Tailwind", bootstrap},
      {"", bootstrap},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildStylesheet(c.framework), c.text) << c.framework;
}

// Tailwind applications get the stylesheet compiled at build time; the directives stay the source of
// `npm run build:css`, whose package floor is the compiler that built it.
TEST(AssetFilesTest, TailwindStylesheetComesCompiled) {
  EXPECT_EQ(BuildTailwindSource(), FileLines({"@tailwind base;", "@tailwind components;", "@tailwind utilities;"}));
  const std::string compiled = BuildStylesheet("tailwind");
  EXPECT_EQ(compiled.find("@tailwind"), std::string::npos);
  EXPECT_NE(compiled.find("box-sizing:border-box"), std::string::npos);
  EXPECT_NE(BuildPackageJson().find("\"tailwindcss\": \"^" + std::string(TailwindVersion()) + "\""), std::string::npos);
}

TEST(AssetFilesTest, ConstantTexts) {
  EXPECT_EQ(BuildAppJs(), FileLines({"/* Kettlebourne application entry point. Keep custom code in this file. */"}));
  EXPECT_EQ(BuildApiRoutes(), FileLines({
      "<?php",
      "declare(strict_types=1);",
      "// API routes can be added here. The health endpoint is public/api/health.php.",
  }));
  EXPECT_EQ(BuildPackageJson(), FileLines({
      "{",
      "  \"private\": true,",
      "  \"scripts\": {",
      "    \"build:css\": \"tailwindcss -i ./resources/css/app.css -o ./public/assets/css/app.css --minify\"",
      "  },",
      "  \"devDependencies\": {",
      "    \"tailwindcss\": \"^3.4.17\"",
      "  }",
      "}",
  }));
}

bool EveryLineEndsInCrLf(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  return text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
}

TEST(AssetFilesTest, ConstantFilesEndEveryLineInCrLf) {
  const std::string texts[] = {BuildAppJs(),       BuildStylesheet("plain-css"), BuildPackageJson(),
                               BuildTailwindConfig(), BuildApiHealth(),             BuildApiRoutes(),
                               BuildServiceWorker()};
  for (const auto& text : texts) EXPECT_TRUE(EveryLineEndsInCrLf(text)) << text.substr(0, 60);
  const std::string php_start = "<?php\r\ndeclare(strict_types=1);\r\n";
  EXPECT_EQ(BuildApiHealth().substr(0, php_start.size()), php_start);
}

TEST(AssetFilesTest, Manifest) {
  EXPECT_EQ(BuildManifest("Shop", "_2shop"), Lines({
      "{",
      "  \"name\": \"Shop\",",
      "  \"short_name\": \"Shop\",",
      "  \"id\": \"./?app=_2shop\",",
      "  \"start_url\": \"./\",",
      "  \"scope\": \"./\",",
      "  \"display\": \"standalone\",",
      "  \"background_color\": \"#ffffff\",",
      "  \"theme_color\": \"#0d6efd\",",
      "  \"icons\": [",
      "  ]",
      "}",
  }));
}

TEST(AssetFilesTest, ManifestNames) {
  const std::string kCafe = "\xC3\xA9t\xC3\xA9 caf\xC3\xA9 ";
  const std::string kEuro = "\xE2\x82\xAC";
  const auto Repeat = [](const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
  };
  struct Case { std::string name, short_name; };
  const Case cases[] = {
      {"Twenty-five characters!!!", "Twenty-five characte"},
      {"Exactly twenty chars", "Exactly twenty chars"},
      {"Short", "Short"},
      {"", ""},
      // Characters, not bytes: 9 + 12 code points, of which 9 + 11 stay.
      {kCafe + Repeat(kEuro, 12), kCafe + Repeat(kEuro, 11)},
      {"\"Q\" \\ </script>\r\n\t\x01x", "\"Q\" \\ </script>\r\n\t\x01x"},
  };
  for (const auto& c : cases) {
    const json::Value manifest = ParseJson(BuildManifest(c.name, "p"));
    ASSERT_TRUE(manifest.IsObject()) << c.name;
    EXPECT_EQ(manifest.Find("name")->Text(), c.name);
    EXPECT_EQ(manifest.Find("short_name")->Text(), c.short_name) << c.name;
  }
}

}  // namespace
}  // namespace qb::gen
