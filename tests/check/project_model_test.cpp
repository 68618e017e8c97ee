#include "check/project_model.hpp"

#include <gtest/gtest.h>

#include "core/json_parse.hpp"

namespace qb {
namespace {

std::string SummaryOf(const std::string& text) {
  const auto root = json::Parse(text);
  EXPECT_TRUE(root.has_value()) << text;
  return LoadProjectModel(*root).Summary();
}

TEST(ProjectModelTest, Summaries) {
  struct Case { std::string text, summary; };
  const Case cases[] = {
      {"{}",
       "Project=; ID=; Version=; Backend=; Database=; CSS=; PWA=false; API=false; Pages=0; Entities=0; "
       "Connections=0; Output=dist"},
      {R"({"project": {"id": "my-web-app", "name": "My Web Application", "version": "1.0.0"},
           "target": {"backend": "php-mvc", "database": "sqlite", "cssFramework": "bootstrap5",
                      "pwaEnabled": false, "apiEnabled": false},
           "database": {"entities": [], "connections": []},
           "pages": [{"id": "about"}], "build": {"outputDirectory": "./build"}})",
       "Project=My Web Application; ID=my-web-app; Version=1.0.0; Backend=php-mvc; Database=sqlite; "
       "CSS=bootstrap5; PWA=false; API=false; Pages=1; Entities=0; Connections=0; Output=./build"},
      {R"({"project": {"id": 7, "name": "A; B=C"}, "target": {"database": "MySQL", "pwaEnabled": "true",
           "apiEnabled": true}, "database": {"entities": [1, "x", {}], "connections": {}}, "pages": "x",
           "build": {"outputDirectory": null}})",
       "Project=A; B=C; ID=; Version=; Backend=; Database=MySQL; CSS=; PWA=false; API=true; Pages=0; "
       "Entities=3; Connections=0; Output=dist"},
  };
  for (const auto& c : cases) EXPECT_EQ(SummaryOf(c.text), c.summary);
}

}  // namespace
}  // namespace qb
