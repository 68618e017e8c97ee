// quillbarrow format and schema, run as a user runs them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process.hpp"
#include "support/temp_dir.hpp"

namespace qb {
namespace {

using test::ReadBytes;
using test::RunProcess;
using test::TempDir;

// Document commands must not need the plug-in.
test::ProcessResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), {"--plugin", "/nonexistent/plugin.so"});
  return RunProcess(QB_CLI_PATH, args);
}

constexpr std::string_view kEveryLevelProject = R"({
  "comment": "root",
  "schemaVersion": "1.0.0",
  "project": {"id": "shop", "name": "Shop", "version": "1", "owner": "me"},
  "target": {"backend": "php-mvc", "database": "sqlite", "cssFramework": "bootstrap5", "theme": "dark"},
  "pwa": {"enabled": true, "color": "#fff"},
  "database": {
    "connection": {"charset": "utf8mb4"},
    "entities": [{"id": "books", "icon": "book", "fields": [
      {"name": "title", "hint": "h"},
      {"name": "author", "type": "lookup", "lookup": {"entity": "authors", "field": "name", "lost": 1}}]}],
    "connections": [{"name": "reporting", "dsn": "x"}],
    "engineOptions": {"wal": true}
  },
  "pages": [{"id": "about", "hero": {"image": "a.png"}}],
  "build": {"outputDirectory": "./out", "clean": true}
})";

TEST(FormatCommand, KeepsUnknownKeysAtEveryLevelAndIsStableFromTheSecondRun) {
  TempDir dir;
  const std::string in = dir.Write("in.json", kEveryLevelProject);
  const std::string out = dir.File("formatted/out.json");
  const auto first = Cli({"format", in, out});
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(first.out, "");
  EXPECT_EQ(first.err, "");
  const std::string text = ReadBytes(out);
  for (std::string_view key : {"comment", "owner", "theme", "color", "charset", "icon", "hint", "reporting",
                               "engineOptions", "hero", "clean"})
    EXPECT_NE(text.find("\"" + std::string(key) + "\""), std::string::npos) << key;
  // The lookup object is rebuilt from the model.
  EXPECT_EQ(text.find("\"lost\""), std::string::npos);

  ASSERT_EQ(Cli({"format", out}).exit_code, 0);
  const std::string second = ReadBytes(out);
  ASSERT_EQ(Cli({"format", out}).exit_code, 0);
  EXPECT_EQ(ReadBytes(out), second);
  EXPECT_TRUE(second.ends_with("\r\n}"));
}

TEST(SchemaCommand, PrintsTheSchemaExactly) {
  TempDir dir;
  const std::string in = dir.Write("p.json", R"({"target": {"database": "MySQL"}, "notes": 1})");
  const auto r = Cli({"schema", in});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "{\r\n"
            "  \"generator\": \"Kettlebourne Generator\",\r\n"
            "  \"engine\": \"mysql\",\r\n"
            "  \"entities\": [\r\n"
            "  ]\r\n"
            "}");
}

TEST(SchemaCommand, AutomaticLookupNamesTheTargetsDisplayField) {
  TempDir dir;
  const std::string in = dir.Write("p.json", R"({"database": {"entities": [
      {"id": "authors", "fields": [{"name": "born", "type": "date"}, {"name": "name"}]},
      {"id": "books", "fields": [{"name": "author", "type": "lookup", "lookupEntity": "authors"}]}]}})");
  const auto r = Cli({"schema", in});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("\"lookup\": {\r\n"
                       "            \"entity\": \"authors\",\r\n"
                       "            \"field\": \"name\"\r\n"),
            std::string::npos)
      << r.out;
}

TEST(DocumentCommands, FailuresGoToStderrWithStatusOne) {
  TempDir dir;
  const std::string not_object = dir.Write("list.json", "[1, 2]");
  const std::string blocker = dir.Write("blocker", "x");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"schema", not_object}, "quillbarrow: Not a Kettlebourne project file (JSON object expected): " + not_object + "\n"},
      {{"format", not_object}, "quillbarrow: Not a Kettlebourne project file (JSON object expected): " + not_object + "\n"},
      {{"schema", dir.File("missing.json")}, ""},
      {{"format", dir.Write("ok.json", "{}"), blocker + "/out.json"}, ""},
  };
  for (const auto& c : cases) {
    const auto r = Cli(c.args);
    EXPECT_EQ(r.exit_code, 1) << c.args[1];
    EXPECT_EQ(r.out, "") << c.args[1];
    if (c.err.empty()) EXPECT_TRUE(r.err.starts_with("quillbarrow: ")) << r.err;
    else EXPECT_EQ(r.err, c.err);
  }
  EXPECT_EQ(ReadBytes(not_object), "[1, 2]");
}

TEST(DocumentCommands, WrongArgumentCountIsAUsageError) {
  const std::vector<std::string> cases[] = {{"format"}, {"format", "a", "b", "c"}, {"schema"}, {"schema", "a", "b"}};
  for (const auto& args : cases) {
    const auto r = Cli(args);
    EXPECT_EQ(r.exit_code, 2) << args.size();
    EXPECT_NE(r.err.find("wrong number of arguments for " + args[0]), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace qb
