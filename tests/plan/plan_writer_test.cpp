#include "plan/plan_writer.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/json_parse.hpp"
#include "core/json_write.hpp"
#include "support/temp_dir.hpp"

namespace qb {
namespace {

using json::Value;

// Builds the plan of a project text; fails the test when building throws.
Value PlanOf(const std::string& project_text, std::string* summary = nullptr) {
  test::TempDir dir;
  std::string text;
  Value plan = PlanWriter().Build(dir.Write("p.json", project_text), text);
  if (summary) *summary = text;
  return plan;
}

std::vector<std::string> Paths(const Value& plan) {
  std::vector<std::string> paths;
  for (const Value& f : plan.Find("files")->Items()) paths.push_back(f.Find("path")->Text());
  return paths;
}

const Value& FileAt(const Value& plan, const std::string& path) {
  for (const Value& f : plan.Find("files")->Items())
    if (f.Find("path")->Text() == path) return f;
  ADD_FAILURE() << "no planned file " << path;
  static const Value none;
  return none;
}

TEST(PlanWriterTest, EmptyProjectPlansTwentyThreeFiles) {
  std::string summary;
  const Value plan = PlanOf("{}", &summary);
  EXPECT_EQ(summary,
            "Project=Untitled project; plannedFiles=23; backend=php-mvc; database=sqlite; css=bootstrap5; "
            "pwa=false; api=false");
  const std::string head = json::Write(plan).substr(0, 300);
  EXPECT_EQ(head.substr(0, head.find("\"files\"")),
            "{\r\n"
            "  \"planVersion\": \"1.0.0\",\r\n"
            "  \"projectId\": \"project\",\r\n"
            "  \"projectName\": \"Untitled project\",\r\n"
            "  \"backend\": \"php-mvc\",\r\n"
            "  \"database\": \"sqlite\",\r\n"
            "  \"cssFramework\": \"bootstrap5\",\r\n"
            "  \"pwaEnabled\": false,\r\n"
            "  \"apiEnabled\": false,\r\n"
            "  \"outputDirectory\": \"dist\",\r\n"
            "  \"fileCount\": 23,\r\n"
            "  ");
  const std::vector<std::string> paths = Paths(plan);
  ASSERT_EQ(paths.size(), 23u);
  EXPECT_EQ(paths[19], "README.md");
  EXPECT_EQ(paths[20], "public/assets/css/app.css");
  EXPECT_EQ(paths[22], "tests/README.md");
  EXPECT_EQ(json::Write(FileAt(plan, "app/Config/database.php")),
            "{\r\n"
            "  \"path\": \"app/Config/database.php\",\r\n"
            "  \"category\": \"config\",\r\n"
            "  \"template\": \"php.database-config.sqlite\",\r\n"
            "  \"purpose\": \"Database connection configuration\"\r\n"
            "}");
}

TEST(PlanWriterTest, FileCountFollowsTheSettings) {
  struct Case { std::string target; int pages, tables; int count; };
  const Case cases[] = {
      {R"({})", 0, 0, 23},
      {R"({"apiEnabled": true})", 0, 0, 25},
      {R"({"pwaEnabled": true})", 0, 0, 26},
      {R"({"cssFramework": "tailwind"})", 0, 0, 25},
      {R"({"cssFramework": "Tailwind"})", 0, 0, 23},
      {R"({"cssFramework": "plain-css", "apiEnabled": true, "pwaEnabled": true})", 2, 3, 38},
      {R"({"cssFramework": "tailwind", "apiEnabled": true, "pwaEnabled": true})", 1, 1, 34},
      {R"({"apiEnabled": "true", "pwaEnabled": 1})", 4, 0, 31},
  };
  for (const auto& c : cases) {
    std::string pages = "[", tables = "[";
    for (int i = 0; i < c.pages; ++i) pages += std::string(i ? "," : "") + "{}";
    for (int i = 0; i < c.tables; ++i) tables += std::string(i ? "," : "") + "{}";
    const Value plan = PlanOf(R"({"target": )" + c.target + R"(, "pages": )" + pages + R"(], "database": {"entities": )" +
                              tables + "]}}");
    EXPECT_EQ(Paths(plan).size(), static_cast<std::size_t>(c.count)) << c.target;
    EXPECT_EQ(plan.Find("fileCount")->Text(), std::to_string(c.count)) << c.target;
  }
}

TEST(PlanWriterTest, PagesAndTablesGetSafeIdentifiers) {
  const Value plan = PlanOf(R"({
    "pages": ["skip", {"title": "Untitled"}, {"id": "About Us", "title": "About"}, {"id": "faq"}],
    "database": {"entities": [{"id": "order_items"}, {"id": "../x", "name": "Evil"}]}
  })");
  const std::vector<std::string> expected = {
      "app/Views/pages/page-2.php", "app/Controllers/page-2Controller.php",
      "app/Views/pages/page-3.php", "app/Controllers/page-3Controller.php",
      "app/Views/pages/faq.php", "app/Controllers/faqController.php",
      "app/Models/order_items.php", "app/Controllers/OrderItemsCrudController.php",
      "app/Models/entity-2.php", "app/Controllers/Entity-2CrudController.php",
  };
  const std::vector<std::string> paths = Paths(plan);
  EXPECT_EQ(std::vector<std::string>(paths.begin() + 20, paths.begin() + 30), expected);
  EXPECT_EQ(FileAt(plan, "app/Views/pages/page-2.php").Find("purpose")->Text(), "Page view: Untitled");
  EXPECT_EQ(FileAt(plan, "app/Controllers/faqController.php").Find("purpose")->Text(), "Page controller: faq");
  EXPECT_EQ(FileAt(plan, "app/Models/order_items.php").Find("purpose")->Text(), "Entity model: order_items");
  EXPECT_EQ(FileAt(plan, "app/Controllers/Entity-2CrudController.php").Find("purpose")->Text(),
            "CRUD controller (KTBGenerateCRUDApplication): Evil");
}

TEST(PlanWriterTest, SettingsAreReadStrictly) {
  const Value plan = PlanOf(R"({
    "project": {"id": 5, "name": "Shop"},
    "target": {"database": "MySQL", "cssFramework": "tailwind"},
    "pwa": {"enabled": true},
    "build": {"outputDirectory": "./out"}
  })");
  EXPECT_EQ(plan.Find("projectId")->Text(), "project");
  EXPECT_EQ(plan.Find("projectName")->Text(), "Shop");
  EXPECT_EQ(FileAt(plan, "app/Config/database.php").Find("template")->Text(), "php.database-config.MySQL");
  EXPECT_TRUE(plan.Find("pwaEnabled")->AsBoolean());
  EXPECT_EQ(plan.Find("outputDirectory")->Text(), "./out");
  EXPECT_EQ(FileAt(plan, "public/sw.js").Find("category")->Text(), "pwa");
  EXPECT_EQ(FileAt(plan, "tailwind.config.js").Find("template")->Text(), "node.tailwind.config");

  const Value explicit_off = PlanOf(R"({"target": {"pwaEnabled": false}, "pwa": {"enabled": true}})");
  EXPECT_FALSE(explicit_off.Find("pwaEnabled")->AsBoolean());
}

TEST(PlanWriterTest, SafeRelativePaths) {
  for (const char* ok : {"a/b.php", ".env.example", "a..b/c", "x/.gitkeep"}) EXPECT_TRUE(IsSafeRelativePath(ok)) << ok;
  for (const char* bad : {"", "/etc/passwd", "\\abs", "C:x", "../x", "..\\x", "..", "a/..", "a/../b"})
    EXPECT_FALSE(IsSafeRelativePath(bad)) << bad;
  for (const char* ok : {"a", "Z-9_x"}) EXPECT_TRUE(IsSafeId(ok)) << ok;
  for (const char* bad : {"", "a b", "a.b", "caf\xC3\xA9", "a/b"}) EXPECT_FALSE(IsSafeId(bad)) << bad;
}

TEST(CreateGenerationPlanTest, WritesThePlanOrNothing) {
  test::TempDir dir;
  const std::string project = dir.Write("p.json", R"({"project": {"name": "Shop"}})");
  const std::string array_root = dir.Write("array.json", "[]");

  const PlanOutcome ok = CreateGenerationPlan(project, dir.File("deep/er/plan.json"));
  ASSERT_TRUE(ok.ok) << ok.message;
  EXPECT_TRUE(ok.message.starts_with("Project=Shop; plannedFiles=23;")) << ok.message;
  const std::string written = test::ReadBytes(dir.File("deep/er/plan.json"));
  EXPECT_TRUE(written.ends_with("]\r\n}"));
  EXPECT_TRUE(json::Parse(written).has_value());

  dir.Write("old.json", "old");
  EXPECT_TRUE(CreateGenerationPlan(project, dir.File("old.json")).ok);
  EXPECT_NE(test::ReadBytes(dir.File("old.json")), "old");

  struct Case { std::string project, plan, message; };
  const Case failures[] = {
      {dir.File("missing.json"), dir.File("a.json"), "Project file does not exist: " + dir.File("missing.json")},
      {dir.path().string(), dir.File("a.json"), "Project file does not exist: " + dir.path().string()},
      {project, " \t", "Plan output filename is empty."},
      {array_root, dir.File("a.json"), "Project JSON root must be an object."},
  };
  for (const auto& c : failures) {
    const PlanOutcome r = CreateGenerationPlan(c.project, c.plan);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, c.message);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.json")));
}

}  // namespace
}  // namespace qb
