#include "model/project.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "core/json_write.hpp"
#include "json_text.hpp"
#include "support/temp_dir.hpp"

namespace qb::model {
namespace {

using test::Lines;
using test::ParseJson;
using test::ReadBytes;
using test::TempDir;

Project LoadRoot(std::string_view json_text) {
  Project project;
  project.LoadFromRoot(ParseJson(json_text));
  return project;
}

std::vector<std::string> Keys(const json::Value& obj) {
  std::vector<std::string> keys;
  for (const json::Member& m : obj.Members()) keys.push_back(m.key);
  return keys;
}

using KeyList = std::vector<std::string>;

TEST(Project, NewProjectIsWrittenInTheDocumentedLayout) {
  EXPECT_EQ(json::Write(Project().BuildRoot()),
            Lines({
                "{",
                "  \"schemaVersion\": \"1.0.0\",",
                "  \"project\": {",
                "    \"id\": \"my-web-app\",",
                "    \"name\": \"My Web Application\",",
                "    \"version\": \"1.0.0\"",
                "  },",
                "  \"target\": {",
                "    \"backend\": \"php-mvc\",",
                "    \"database\": \"sqlite\",",
                "    \"cssFramework\": \"bootstrap5\",",
                "    \"pwaEnabled\": false,",
                "    \"apiEnabled\": false,",
                "    \"assets\": \"local\"",
                "  },",
                "  \"database\": {",
                "    \"connection\": {",
                "      \"host\": \"127.0.0.1\",",
                "      \"port\": \"3306\",",
                "      \"name\": \"my_web_app\",",
                "      \"username\": \"root\",",
                "      \"password\": \"\",",
                "      \"writeEnv\": true",
                "    },",
                "    \"entities\": [",
                "    ],",
                "    \"connections\": [",
                "    ]",
                "  },",
                "  \"pages\": [",
                "    {",
                "      \"id\": \"about\",",
                "      \"title\": \"About\",",
                "      \"route\": \"/about\",",
                "      \"template\": \"\",",
                "      \"content\": \"\",",
                "      \"showInNavigation\": false,",
                "      \"components\": [",
                "      ]",
                "    }",
                "  ],",
                "  \"build\": {",
                "    \"outputDirectory\": \"./build\"",
                "  }",
                "}",
            }));
}

TEST(Project, ReloadedFileChangesKeyOrderOnceAndThenKeepsIt) {
  Project project;
  project.LoadFromRoot(project.BuildRoot());
  const json::Value second = project.BuildRoot();
  EXPECT_EQ(Keys(second), (KeyList{"project", "target", "database", "build", "schemaVersion", "pages"}));
  EXPECT_EQ(Keys(*second.Find("database")), (KeyList{"connection", "connections", "entities"}));
  project.LoadFromRoot(second);
  EXPECT_EQ(json::Write(project.BuildRoot()), json::Write(second));
}

TEST(Project, LoadingAnEmptyObjectGivesDefaultsWithoutPages) {
  const Project p = LoadRoot("{}");
  EXPECT_TRUE(p.pages.empty());
  EXPECT_FALSE(p.write_env);
  EXPECT_EQ(p.db_name, "my_web_app");
  EXPECT_EQ(p.project_id, "my-web-app");
  EXPECT_EQ(p.db_engine, "sqlite");
  EXPECT_EQ(p.db_port, "3306");
  EXPECT_EQ(p.output_directory, "./build");
  EXPECT_EQ(p.FileName(), "");
}

TEST(Project, LoadReadsEveryValueLeniently) {
  const Project p = LoadRoot(R"({
    "project": {"id": "Book Shop", "name": 7, "version": true},
    "target": {"database": "MySQL", "cssFramework": "Tailwind", "pwaEnabled": "yes", "apiEnabled": 1},
    "database": {"connection": {"port": 3307, "password": "pw", "host": ["x"]},
                 "entities": [{"id": "books"}, "skip", {"id": "authors"}]},
    "pages": [{"id": "faq"}, 1],
    "build": {"outputDirectory": "/srv/out"}
  })");
  EXPECT_EQ(p.project_id, "Book Shop");
  EXPECT_EQ(p.project_name, "7");
  EXPECT_EQ(p.version, "1.0.0");
  EXPECT_EQ(p.db_engine, "mysql");
  EXPECT_EQ(p.css_framework, "Tailwind");
  EXPECT_TRUE(p.pwa_enabled);
  EXPECT_TRUE(p.api_enabled);
  EXPECT_EQ(p.db_port, "3307");
  EXPECT_EQ(p.db_host, "127.0.0.1");
  EXPECT_EQ(p.db_name, "book_shop");
  EXPECT_EQ(p.db_password, "pw");
  EXPECT_TRUE(p.write_env);
  ASSERT_EQ(p.entities.size(), 2u);
  EXPECT_EQ(p.entities[1].id, "authors");
  ASSERT_EQ(p.pages.size(), 1u);
  EXPECT_EQ(p.pages[0].route, "/faq");
  EXPECT_EQ(p.output_directory, "/srv/out");
}

TEST(Project, DatabaseNameFallsBackWhenTheProjectIdHasNoLetters) {
  EXPECT_EQ(LoadRoot(R"({"project": {"id": "???"}})").db_name, "kettlebourne");
}

TEST(Project, SaveWritesValuesInFileForm) {
  const json::Value root = LoadRoot(R"({
    "target": {"database": "MySQL", "cssFramework": "Tailwind", "backend": "other"},
    "database": {"connection": {"port": 3307}, "connections": "none"}
  })").BuildRoot();
  const json::Value& target = *root.Find("target");
  EXPECT_EQ(target.Find("database")->Text(), "mysql");
  EXPECT_EQ(target.Find("cssFramework")->Text(), "Tailwind");
  EXPECT_EQ(target.Find("backend")->Text(), "php-mvc");
  const json::Value& port = *root.Find("database")->Find("connection")->Find("port");
  EXPECT_TRUE(port.IsString());
  EXPECT_EQ(port.Text(), "3307");
  EXPECT_EQ(*root.Find("database")->Find("connections"), json::Value::Array());
}

TEST(Project, SaveKeepsUnknownKeysAndOtherConnections) {
  const json::Value root = LoadRoot(R"({
    "notes": "n", "pwa": {"enabled": true},
    "project": {"owner": "me"},
    "database": {"connection": {"charset": "utf8mb4"}, "connections": [{"x": 1}]},
    "build": {"clean": false}
  })").BuildRoot();
  EXPECT_EQ(Keys(root), (KeyList{"notes", "pwa", "project", "database", "build", "schemaVersion", "target", "pages"}));
  EXPECT_EQ(Keys(*root.Find("project")), (KeyList{"owner", "id", "name", "version"}));
  EXPECT_EQ(Keys(*root.Find("database")->Find("connection")),
            (KeyList{"charset", "host", "port", "name", "username", "password", "writeEnv"}));
  EXPECT_EQ(*root.Find("database")->Find("connections"), ParseJson(R"([{"x": 1}])"));
  EXPECT_EQ(*root.Find("pwa"), ParseJson(R"({"enabled": true})"));
  EXPECT_EQ(Keys(*root.Find("build")), (KeyList{"clean", "outputDirectory"}));
}

TEST(Project, SecurityAndAccessAreWrittenOnlyWhenPresent) {
  const json::Value without = LoadRoot(R"({"database": {"entities": [{"id": "b", "fields": []}]}})").BuildRoot();
  EXPECT_EQ(without.Find("security"), nullptr);
  EXPECT_EQ(without.Find("database")->Find("entities")->Items()[0].Find("access"), nullptr);

  const json::Value with = LoadRoot(R"({"security": {"note": 1, "roles": ["editor", 3], "signIn": "yes"},
    "database": {"entities": [{"access": {"edit": ["editor"], "view": ["editor"], "extra": true}, "id": "b"}]}})")
                               .BuildRoot();
  EXPECT_EQ(Keys(with).back(), "security");
  EXPECT_EQ(*with.Find("security"), ParseJson(R"({"note": 1, "signIn": true, "roles": ["editor"]})"));
  const json::Value& table = with.Find("database")->Find("entities")->Items()[0];
  EXPECT_EQ(Keys(table).back(), "access");
  EXPECT_EQ(*table.Find("access"), ParseJson(R"({"view": ["editor"], "add": [], "edit": ["editor"], "delete": [],
                                                 "ownRecordsOnly": []})"));
}

// A file without target.assets loads as "cdn" and is saved without the key.
TEST(Project, AssetsAreWrittenOnlyWhenLoadedOrSet) {
  struct Case { std::string target; std::optional<std::string> set, loaded, written; };
  const Case cases[] = {
      {"{}", std::nullopt, std::nullopt, std::nullopt},
      {R"({"assets": "local", "x": 1})", std::nullopt, "local", "local"},
      {R"({"assets": "cdn"})", std::nullopt, "cdn", "cdn"},
      {R"({"assets": 5})", std::nullopt, "5", "5"},
      {"{}", "local", std::nullopt, "local"},
      {R"({"assets": "local"})", "cdn", "local", "cdn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    Project p = LoadRoot(R"({"target": )" + c.target + "}");
    EXPECT_EQ(p.assets, c.loaded);
    if (c.set) p.assets = c.set;
    const json::Value root = p.BuildRoot();
    const json::Value* written = root.Find("target")->Find("assets");
    EXPECT_EQ(written ? std::optional<std::string>(written->Text()) : std::nullopt, c.written);
  }
}

TEST(ProjectFile, OptionalKeysTakenBackLeaveTheSavedFile) {
  TempDir dir;
  const std::string file = dir.Write("p.json", R"({"security": {"signIn": true}, "target": {"assets": "local"}})");
  Project p;
  p.LoadFromFile(file);
  p.SaveToFile(file);
  p.security.reset();
  p.assets.reset();
  const json::Value root = p.BuildRoot();
  EXPECT_EQ(root.Find("security"), nullptr);
  EXPECT_EQ(root.Find("target")->Find("assets"), nullptr);
  // A value of another kind is not the model's and stays.
  EXPECT_EQ(*LoadRoot(R"({"security": 5})").BuildRoot().Find("security"), json::Value::Integer(5));
}

TEST(Project, FilterExportAndImportAreWrittenAsLoadedOrSet) {
  Project p = LoadRoot(R"({"database": {"entities": [{"id": "b", "import": "no", "fields": [{"name": "x", "filter": 1}, {"name": "y"}]}]}})");
  p.entities[0].export_csv = true;
  const json::Value root = p.BuildRoot();
  const json::Value& table = root.Find("database")->Find("entities")->Items()[0];
  EXPECT_EQ(*table.Find("export"), json::Value::Boolean(true));
  EXPECT_EQ(*table.Find("import"), json::Value::Boolean(false));
  EXPECT_EQ(*table.Find("fields")->Items()[0].Find("filter"), json::Value::Boolean(true));
  EXPECT_EQ(table.Find("fields")->Items()[1].Find("filter"), nullptr);
}

TEST(Project, RelationKeysAreWrittenAsLoadedOrSet) {
  Project p = LoadRoot(R"({"database": {"entities": [{"id": "b", "detailPage": false, "fields": [
      {"name": "x", "type": "lookup", "onDelete": "restrict"}, {"name": "y", "type": "lookup"}]}]}})");
  p.entities[0].fields[1].list_on_parent = true;
  p.entities[0].fields[1].on_delete = "cascade";
  const json::Value root = p.BuildRoot();
  const json::Value& table = root.Find("database")->Find("entities")->Items()[0];
  const auto& fields = table.Find("fields")->Items();
  EXPECT_EQ(*table.Find("detailPage"), json::Value::Boolean(false));
  EXPECT_EQ(*fields[0].Find("onDelete"), json::Value::String("restrict"));
  EXPECT_EQ(fields[0].Find("listOnParent"), nullptr);
  EXPECT_EQ(*fields[1].Find("listOnParent"), json::Value::Boolean(true));
  EXPECT_EQ(*fields[1].Find("onDelete"), json::Value::String("cascade"));
}

TEST(Project, SectionsOfAnotherKindAreReplacedByObjects) {
  const json::Value root = LoadRoot(R"({"project": "x", "database": [1], "pages": "none"})").BuildRoot();
  EXPECT_TRUE(root.Find("project")->IsObject());
  EXPECT_TRUE(root.Find("database")->Find("connection")->IsObject());
  EXPECT_EQ(*root.Find("pages"), json::Value::Array());
}

TEST(Project, UnknownValuesAtTheDepthLimitStayReadableAfterSave) {
  // The field object sits six containers deep; its unknown member fills the rest of the limit.
  const std::size_t depth = json::kMaxDepth - 6;
  const std::string deep = std::string(depth, '[') + std::string(depth, ']');
  const std::string text = R"({"database": {"entities": [{"fields": [{"x": )" + deep + "}]}]}}";
  ASSERT_TRUE(json::Parse(text).has_value());
  const Project p = LoadRoot(text);
  EXPECT_TRUE(json::Parse(json::Write(p.BuildRoot())).has_value());
}

TEST(Project, FindEntityIgnoresAsciiCase) {
  const Project p = LoadRoot(R"({"database": {"entities": [{"id": "Books"}, {"id": "books"}]}})");
  EXPECT_EQ(p.FindEntity("BOOKS"), &p.entities[0]);
  EXPECT_EQ(p.FindEntity("book"), nullptr);
}

TEST(ProjectFile, LoadDropsTheByteOrderMarkAndSaveWritesNone) {
  TempDir dir;
  const std::string in = dir.Write("in.json", "\xEF\xBB\xBF{\"project\": {\"name\": \"Shop\"}}");
  Project p;
  p.LoadFromFile(in);
  EXPECT_EQ(p.project_name, "Shop");
  EXPECT_EQ(p.FileName(), in);
  const std::string out = dir.File("new/deeper/out.json");
  p.SaveToFile(out);
  EXPECT_EQ(p.FileName(), out);
  const std::string saved = ReadBytes(out);
  EXPECT_TRUE(saved.starts_with("{\r\n  \"project\": {"));
  EXPECT_TRUE(saved.ends_with("\r\n}"));
}

TEST(ProjectFile, SavedRootIsTheBaseOfTheNextSave) {
  TempDir dir;
  Project p;
  p.SaveToFile(dir.File("a.json"));
  p.project_name = "Renamed";
  EXPECT_EQ(Keys(p.BuildRoot()).front(), "project");
}

// Saving writes the records one at a time; the file is still BuildRoot's text, unknown keys
// around and inside the records are kept, and the next save builds on the saved keys.
TEST(ProjectFile, SavedFileIsTheTextOfBuildRoot) {
  TempDir dir;
  const std::string in = dir.Write("in.json", R"({"extra": {"kept": 1},
      "database": {"more": [2], "entities": [{"id": "books", "own": true, "fields": [{"name": "title", "x": 3}]},
                                             {"id": "authors"}]},
      "pages": [{"id": "about", "route": "/about", "y": "z"}, {"id": "help"}]})");
  Project p;
  p.LoadFromFile(in);
  const json::Value built = p.BuildRoot();
  const std::string expected = json::Write(built);
  // The project as it stood with the whole written tree as its root.
  Project whole;
  whole.LoadFromRoot(built);
  const std::string out = dir.File("out.json");
  p.SaveToFile(out);
  EXPECT_EQ(ReadBytes(out), expected);
  EXPECT_NE(expected.find("\"own\": true"), std::string::npos);
  const json::Value next = p.BuildRoot();
  const json::Value whole_next = whole.BuildRoot();
  EXPECT_EQ(Keys(next), Keys(whole_next));
  EXPECT_EQ(Keys(*next.Find("database")), Keys(*whole_next.Find("database")));
  p.entities.pop_back();
  p.SaveToFile(out);
  EXPECT_EQ(ReadBytes(out), json::Write(p.BuildRoot()));
  EXPECT_EQ(ReadBytes(out).find("authors"), std::string::npos);
  EXPECT_NE(ReadBytes(out).find("\"kept\": 1"), std::string::npos);
}

TEST(ProjectFile, FailuresLeaveTheProjectUnchanged) {
  TempDir dir;
  const struct {
    std::string name;
    std::string bytes;
  } not_projects[] = {{"bad.json", "{\"a\": "}, {"array.json", "[1]"}, {"empty.json", ""}};
  for (const auto& c : not_projects) {
    Project p;
    p.project_name = "Mine";
    const std::string path = dir.Write(c.name, c.bytes);
    try {
      p.LoadFromFile(path);
      ADD_FAILURE() << c.name << " loaded";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "Not a Kettlebourne project file (JSON object expected): " + path);
    }
    EXPECT_EQ(p.project_name, "Mine");
    EXPECT_EQ(p.pages.size(), 1u);
  }
  Project p;
  EXPECT_THROW(p.LoadFromFile(dir.File("missing.json")), std::runtime_error);
  EXPECT_EQ(p.FileName(), "");
}

TEST(ProjectFile, FailedSaveKeepsFileNameAndRoot) {
  TempDir dir;
  const std::string blocker = dir.Write("blocker", "x");
  Project p;
  EXPECT_THROW(p.SaveToFile(blocker + "/out.json"), std::runtime_error);
  EXPECT_EQ(p.FileName(), "");
  EXPECT_EQ(Keys(p.BuildRoot()).front(), "schemaVersion");
}

}  // namespace
}  // namespace qb::model
