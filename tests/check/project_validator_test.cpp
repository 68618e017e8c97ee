#include "check/project_validator.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/json_write.hpp"
#include "support/temp_dir.hpp"

namespace qb {
namespace {

constexpr const char* kValid = R"({
  "schemaVersion": "1.0.0",
  "project": {"id": "book-shop", "name": "Book; Shop", "version": "1.0.0"},
  "target": {"backend": "php-mvc", "database": "MySQL", "cssFramework": "bootstrap5", "pwaEnabled": true},
  "database": {
    "connection": {"host": "127.0.0.1", "port": "3306", "name": "shop", "username": "root"},
    "entities": [{"id": "books", "name": "Books", "fields": [{"name": "title", "type": "string"}]}],
    "connections": [{}, 1]
  },
  "pages": [{"id": "about", "title": "About", "route": "/about"}],
  "build": {}
})";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// The parsed document is handed on whenever the file holds a JSON object, valid or not.
TEST(ProjectValidatorTest, HandsOnTheParsedDocumentAndProject) {
  test::TempDir dir;
  struct Case { std::string text; bool ok; bool parsed; };
  const Case cases[] = {
      {kValid, true, true},
      {Replace(kValid, "\"php-mvc\"", "\"rails\""), false, true},
      {"[1, 2]", false, false},
      {"{\"schemaVersion\": ", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ParsedProject parsed;
    const std::string file = dir.Write("p.json", c.text);
    const ValidationOutcome v = ValidateProjectFile(file, parsed);
    EXPECT_EQ(v.ok, c.ok);
    EXPECT_EQ(v.message, ValidateProjectFile(file).message);
    ASSERT_EQ(parsed.root != nullptr, c.parsed);
    if (!c.parsed) continue;
    model::Project from_file;
    from_file.LoadFromFile(file);
    EXPECT_EQ(json::Write(parsed.project.BuildRoot()), json::Write(from_file.BuildRoot()));
    EXPECT_EQ(parsed.root->Find("schemaVersion")->Text(), "1.0.0");
  }
}

TEST(ProjectValidatorTest, ValidFileGivesTheModel) {
  test::TempDir dir;
  const ValidationOutcome v = ValidateProjectFile(dir.Write("p.json", kValid));
  ASSERT_TRUE(v.ok) << v.message;
  EXPECT_EQ(v.message, "Project JSON is valid.");
  ASSERT_TRUE(v.model.has_value());
  EXPECT_EQ(v.model->Summary(),
            "Project=Book; Shop; ID=book-shop; Version=1.0.0; Backend=php-mvc; Database=MySQL; CSS=bootstrap5; "
            "PWA=true; API=false; Pages=1; Entities=1; Connections=2; Output=dist");
}

TEST(ProjectValidatorTest, IssuesInStepOrder) {
  struct Case { std::string name, text, message; };
  const Case cases[] = {
      {"array root", "[1,2]", "The project JSON root must be an object.\r\n"},
      {"invalid json", "{", "The project JSON root must be an object.\r\n"},
      {"empty object", "{}",
       "schemaVersion must be \"1.0.0\".\r\n"
       "Required property \"project\" must be an object.\r\n"
       "Required property \"target\" must be an object.\r\n"
       "Required property \"database\" must be an object.\r\n"
       "Required property \"pages\" must be an array.\r\n"
       "Required property \"build\" must be an object.\r\n"},
      {"project values", Replace(kValid, R"({"id": "book-shop", "name": "Book; Shop", "version": "1.0.0"})",
                                 R"({"id": "-shop", "name": " ", "version": 1})"),
       "project.id must contain lowercase letters, digits, and hyphens, and start with a letter or digit.\r\n"
       "project.name is required.\r\n"
       "project.version is required.\r\n"},
      {"target values",
       Replace(kValid, R"({"backend": "php-mvc", "database": "MySQL", "cssFramework": "bootstrap5", "pwaEnabled": true})",
               R"({"backend": "PHP-MVC", "database": "pg", "cssFramework": "Bootstrap5", "pwaEnabled": "true", "apiEnabled": null})"),
       "target.backend must be \"php-mvc\".\r\n"
       "target.database must be \"mysql\", \"mariadb\", or \"sqlite\".\r\n"
       "target.cssFramework must be \"bootstrap5\", \"tailwind\", or \"plain-css\".\r\n"
       "target.pwaEnabled must be true or false.\r\n"
       "target.apiEnabled must be true or false.\r\n"},
      {"entities structure, then design rules, then connections",
       Replace(Replace(kValid, R"([{"id": "books", "name": "Books", "fields": [{"name": "title", "type": "string"}]}])",
                       R"([3, {"name": "x"}, {"id": "Books", "name": ""}, {"id": "books", "name": "B", "pageSize": 500}])"),
               R"([{}, 1])", R"({})"),
       "database.entities[0] must be a JSON object.\r\n"
       "database.entities[1] requires a non-empty \"id\" string.\r\n"
       "Duplicate database.entities id \"books\".\r\n"
       "database.entities[2] requires a non-empty \"name\" string.\r\n"
       "Table 1 name \"\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).\r\n"
       "Table 2 name \"Books\" must start with a lowercase letter and contain only a-z, 0-9 and _ (max 64).\r\n"
       "Table \"Books\" needs a display label.\r\n"
       "Table \"books\": rows per page must be between 1 and 200.\r\n"
       "database.connections must be an array when provided.\r\n"},
      {"security and access shapes",
       Replace(Replace(kValid, R"("build": {})", R"("build": {}, "security": {"signIn": "yes", "roles": ["a", 2]})"),
               R"("name": "Books", "fields")", R"("name": "Books", "access": {"view": "all", "add": [], "edit": [1]}, "fields")"),
       "security.signIn must be true or false.\r\n"
       "security.roles must be an array of role names.\r\n"
       "database.entities[0].access.view must be an array of role names.\r\n"
       "database.entities[0].access.edit must be an array of role names.\r\n"},
      {"security and access not objects",
       Replace(Replace(kValid, R"("build": {})", R"("build": {}, "security": true)"),
               R"("name": "Books", "fields")", R"("name": "Books", "access": [], "fields")"),
       "security must be an object when provided.\r\n"
       "database.entities[0].access must be an object when provided.\r\n"},
      {"entities not an array", Replace(kValid, R"("entities": [{"id": "books", "name": "Books", "fields": [{"name": "title", "type": "string"}]}],)", R"("entities": {},)"),
       "database.entities must be an array.\r\n"},
      {"no pages", Replace(kValid, R"([{"id": "about", "title": "About", "route": "/about"}])", "[]"),
       "At least one page is required.\r\n"},
      {"page problems",
       Replace(kValid, R"([{"id": "about", "title": "About", "route": "/about"}])",
               R"([{"id": "Home", "title": "H", "route": "/"}, {"id": "home", "title": " ", "route": "home", "components": {}}, "x"])"),
       "Duplicate pages id \"home\".\r\n"
       "pages[2] must be a JSON object.\r\n"
       "pages[1] requires a non-empty \"title\" string.\r\n"
       "pages[1].route must start with \"/\".\r\n"
       "pages[1].components must be an array when provided.\r\n"},
      {"blank output directory", Replace(kValid, R"("build": {})", R"("build": {"outputDirectory": 5})"),
       "build.outputDirectory must not be empty.\r\n"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    const ValidationOutcome v = ValidateProjectFile(dir.Write("p.json", c.text));
    EXPECT_FALSE(v.ok) << c.name;
    EXPECT_FALSE(v.model.has_value()) << c.name;
    EXPECT_EQ(v.message, c.message) << c.name;
  }
}

TEST(ProjectValidatorTest, TargetAssetsIsCdnOrLocalWhenPresent) {
  struct Case { std::string assets; bool ok; };
  const Case cases[] = {
      {"", true}, {R"("cdn")", true}, {R"("local")", true},
      {R"("Local")", false}, {R"("")", false}, {"null", false}, {"1", false}, {R"(["local"])", false},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    const std::string text =
        c.assets.empty() ? std::string(kValid)
                         : Replace(kValid, R"("pwaEnabled": true})", R"("pwaEnabled": true, "assets": )" + c.assets + "}");
    const ValidationOutcome v = ValidateProjectFile(dir.Write("p.json", text));
    EXPECT_EQ(v.ok, c.ok) << c.assets;
    EXPECT_EQ(v.message, c.ok ? "Project JSON is valid." : "target.assets must be \"cdn\" or \"local\".\r\n")
        << c.assets;
  }
}

TEST(ProjectValidatorTest, FileProblems) {
  test::TempDir dir;
  const std::string txt = dir.Write("project.txt", kValid);
  const std::string bom = dir.Write("bom.json", std::string("\xEF\xBB\xBF") + kValid);
  std::filesystem::create_directories(dir.path() / "folder.json");
  struct Case { std::string path; bool ok; std::string message; };
  const Case cases[] = {
      {"", false, "Project file path is empty.\r\n"},
      {" \t", false, "Project file path is empty.\r\n"},
      {"project.json", false, "Project file does not exist: project.json\r\n"},
      {dir.File("folder.json"), false, "Project file does not exist: " + dir.File("folder.json") + "\r\n"},
      {txt, false, "Project file should use the .json extension.\r\n"},
      {bom, true, "Project JSON is valid."},
  };
  for (const auto& c : cases) {
    const ValidationOutcome v = ValidateProjectFile(c.path);
    EXPECT_EQ(v.ok, c.ok) << c.path;
    EXPECT_EQ(v.message, c.message) << c.path;
  }
}

TEST(ProjectValidatorTest, ProjectIds) {
  for (const char* ok : {"my-web-app", "2024-shop", "a", "0"}) EXPECT_TRUE(IsValidProjectId(ok)) << ok;
  for (const char* bad : {"", "My-App", "-app", "shop_1", "caf\xC3\xA9"}) EXPECT_FALSE(IsValidProjectId(bad)) << bad;
}

}  // namespace
}  // namespace qb
