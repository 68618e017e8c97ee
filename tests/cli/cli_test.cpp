// The command-line host as a user runs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/process.hpp"
#include "support/temp_dir.hpp"

namespace qb {
namespace {

using test::RunProcess;
using test::TempDir;

constexpr const char* kVersion = "Quillbarrow Generator 0.9.0 | Stage 9 Design-Time Database Designer";

test::ProcessResult Cli(const std::vector<std::string>& args, const std::string& cwd = {}) {
  return RunProcess(QB_CLI_PATH, args, cwd);
}

TEST(CliTest, ActionCommandsPrintTheResultAndExitWithItsBoolean) {
  TempDir dir;
  dir.Write("project.json", "{}");
  dir.Write("notes.txt", "x");
  const std::string base = std::filesystem::canonical(dir.path()).string();
  struct Case { std::vector<std::string> args; int code; std::string out, err; };
  const Case cases[] = {
      {{"version"}, 0, std::string(kVersion) + "\n", ""},
      {{"check", ""}, 1, "ERROR|Project file path is empty\n", ""},
      {{"check", "project.json"}, 0, "OK|Project file exists: " + base + "/project.json\n", ""},
      {{"check", "notes.txt"}, 0, "WARNING|File exists but does not have a .json extension: " + base + "/notes.txt\n", ""},
      {{"exec", "9", "[R]"}, 1, "[LastError]=Quillbarrow: unknown action ID.\n", ""},
      {{"exec", "1"}, 0, "", ""},
      {{"exec", "1", "[A]", "[B]"}, 0, std::string("[A]=") + kVersion + "\n", ""},
      {{"exec", "2", "missing.json", "[C]"}, 1, "[C]=ERROR|Project file does not exist: " + base + "/missing.json\n", ""},
  };
  for (const auto& c : cases) {
    const auto r = Cli(c.args, dir.path().string());
    EXPECT_EQ(r.exit_code, c.code) << c.args[0];
    EXPECT_EQ(r.out, c.out) << c.args[0];
    EXPECT_EQ(r.err, c.err) << c.args[0];
  }
}

TEST(CliTest, ValidateSummaryAndPlan) {
  TempDir dir;
  dir.Write("empty.json", "{}");
  dir.Write("two.json", R"({"schemaVersion": "1.0.0", "project": {"id": "x", "name": "X", "version": "1"},
    "target": {"backend": "php-mvc", "database": "sqlite", "cssFramework": "bootstrap5"},
    "database": {"entities": []}, "pages": [{"id": "a", "title": "A", "route": "a"}]})");
  const std::string valid = std::string(QB_EXAMPLES_DIR) + "/bookshop.json";
  const std::string summary =
      "Project=Corner Bookshop; ID=bookshop; Version=1.0.0; Backend=php-mvc; Database=sqlite; CSS=bootstrap5; "
      "PWA=false; API=false; Pages=3; Entities=3; Connections=0; Output=./build/bookshop";
  struct Case { std::vector<std::string> args; int code; std::string out; };
  const Case cases[] = {
      {{"validate", valid}, 0, "OK|Project JSON is valid. " + summary + "\n"},
      {{"summary", valid}, 0, "OK|" + summary + "\n"},
      {{"validate", "two.json"}, 1,
       "ERROR|pages[0].route must start with \"/\".\r\nRequired property \"build\" must be an object.\n"},
      {{"summary", "missing.json"}, 1, "ERROR|Project file does not exist: missing.json\n"},
      {{"plan", "empty.json", "out/plan.json"}, 0,
       "OK|Project=Untitled project; plannedFiles=23; backend=php-mvc; database=sqlite; css=bootstrap5; pwa=false; "
       "api=false; plan=out/plan.json\n"},
      {{"plan", "empty.json", ""}, 1, "ERROR|Plan output filename is empty.\n"},
  };
  for (const auto& c : cases) {
    const auto r = Cli(c.args, dir.path().string());
    EXPECT_EQ(r.exit_code, c.code) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[0] << " " << c.args[1];
  }
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "out/plan.json"));
}

TEST(CliTest, GenerateAndCrudThroughTheExports) {
  TempDir dir;
  const std::string project = std::string(QB_EXAMPLES_DIR) + "/bookshop.json";
  const std::string base = std::filesystem::canonical(dir.path()).string();
  const auto generate = Cli({"generate", project, "base"}, dir.path().string());
  EXPECT_EQ(generate.exit_code, 0);
  EXPECT_EQ(generate.out, "OK|Generated Corner Bookshop at " + base +
                              "/base; database=sqlite; css=bootstrap5; pwa=false; api=false\n");

  const auto three = Cli({"exec", "7", project, "old", "[V]"}, dir.path().string());
  EXPECT_EQ(three.exit_code, 0);
  EXPECT_EQ(three.out, "[V]=OK|Generated Corner Bookshop at " + base +
                           "/old; database=sqlite; css=bootstrap5; pwa=false; api=false; CRUD generated for 3 "
                           "table(s)\n");
  EXPECT_NE(test::ReadBytes(dir.path() / "old/app/Views/layouts/main.php")
                .find("<body class=\"ktb-theme-studio ktb-layout-dashboard\">"),
            std::string::npos);

  const auto six = Cli({"crud", project, "six", "editorial", "wide", "#0F766E"}, dir.path().string());
  EXPECT_EQ(six.exit_code, 0) << six.err;
  EXPECT_NE(test::ReadBytes(dir.path() / "six/app/Views/layouts/main.php")
                .find("<body class=\"ktb-theme-editorial ktb-layout-wide\">"),
            std::string::npos);
  EXPECT_NE(test::ReadBytes(dir.path() / "six/public/assets/css/app.css").find("--ktb-accent:#0F766E;"),
            std::string::npos);
}

TEST(CliTest, PlugInErrorsGoToStandardError) {
  const auto r = Cli({"design", "x.json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Quillbarrow: The designer window needs Windows.\n");
}

TEST(CliTest, ActionsListsTheRegistrationsInOrder) {
  const auto r = Cli({"actions"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out,
            "0|General||00|0\n"
            "1|kdKTBGetVersion|Write the Quillbarrow Generator version and phase to a variable.|06|1\n"
            "0|Project Properties||00|0\n"
            "2|kdKTBCheckProjectFile|Check whether a Quillbarrow project JSON file exists; write diagnostics to a "
            "variable.|05 06|2\n"
            "3|kdKTBValidateProject|Validate project JSON structure and supported target settings; write diagnostics "
            "to a variable.|05 06|2\n"
            "4|kdKTBGetProjectSummary|Read a valid project JSON file and write its project summary to a variable.|05 "
            "06|2\n"
            "0|Plan Generation||00|0\n"
            "5|kdKTBCreateGenerationPlan|Create a JSON plan describing the files that a later generation stage will "
            "produce.|05 0A 06|3\n"
            "0|Design Database||00|0\n"
            "8|kdKTBDesignDatabase|Open the visual database designer: define tables, fields, types, lookups, pages "
            "and the database connection.|05 06|2\n"
            "0|Generate Application||00|0\n"
            "6|kdKTBGenerateApplication|Generate PHP MVC source files, routes, views, database migrations, assets, "
            "and optional API/PWA files.|05 02 06|3\n"
            "7|kdKTBGenerateCRUDApplication|Generate a PHP MVC CRUD application with design-time frontend preset, "
            "layout and accent colour.|05 02 01 01 01 06|6\n");
}

TEST(CliTest, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"version", "extra"},
      {"check"},
      {"plan", "p.json"},
      {"crud", "p.json", "out", "studio"},
      {"exec"},
      {"exec", "abc"},
      {"actions", "x"},
      {"--plugin"},
      {"--bogus", "version"},
  };
  for (const auto& args : cases) {
    const auto r = Cli(args);
    EXPECT_EQ(r.exit_code, 2) << (args.empty() ? "(none)" : args[0]);
    EXPECT_NE(r.err.find("Usage: quillbarrow"), std::string::npos);
    EXPECT_EQ(r.out, "");
  }
}

TEST(CliTest, HelpPrintsUsage) {
  const auto r = Cli({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(r.out.starts_with("Usage: quillbarrow")) << r.out;
}

TEST(CliTest, PluginOptionLoadsTheGivenLibrary) {
  const std::string next_to_cli = (std::filesystem::path(QB_CLI_PATH).parent_path() / "libkdquillbarrow.so").string();
  const auto ok = Cli({"--plugin", next_to_cli, "version"});
  EXPECT_EQ(ok.exit_code, 0);
  EXPECT_EQ(ok.out, std::string(kVersion) + "\n");

  const auto missing = Cli({"--plugin", "/nonexistent/lib.so", "version"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("cannot load plug-in /nonexistent/lib.so"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace qb
