#include "check/project_file_check.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.hpp"

namespace qb {
namespace {

class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

TEST(ProjectFileCheckTest, ResultTexts) {
  test::TempDir dir;
  dir.Write("project.json", "{}");
  dir.Write("UPPER.JSON", "{}");
  dir.Write("notes.txt", "x");
  dir.Write(".json", "{}");
  std::filesystem::create_directories(dir.path() / "folder.json");
  const std::string base = std::filesystem::canonical(dir.path()).string();
  CurrentFolder cwd(dir.path());

  struct Case { std::string path, result; };
  const Case cases[] = {
      {"", "ERROR|Project file path is empty"},
      {" \t\r\n", "ERROR|Project file path is empty"},
      {"project.json", "OK|Project file exists: " + base + "/project.json"},
      {"./sub/../project.json", "OK|Project file exists: " + base + "/project.json"},
      {base + "/UPPER.JSON", "OK|Project file exists: " + base + "/UPPER.JSON"},
      {".json", "OK|Project file exists: " + base + "/.json"},
      {"notes.txt", "WARNING|File exists but does not have a .json extension: " + base + "/notes.txt"},
      {"missing.json", "ERROR|Project file does not exist: " + base + "/missing.json"},
      {"folder.json", "ERROR|Project file does not exist: " + base + "/folder.json"},
      {" project.json", "ERROR|Project file does not exist: " + base + "/ project.json"},
      {"project.json/", "ERROR|Project file does not exist: " + base + "/project.json/"},
      {"./project.json//", "ERROR|Project file does not exist: " + base + "/project.json/"},
      {"./", "ERROR|Project file does not exist: " + base + "/"},
      {".", "ERROR|Project file does not exist: " + base},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckProjectFile(c.path), c.result) << '"' << c.path << '"';
}

}  // namespace
}  // namespace qb
