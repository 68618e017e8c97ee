#include "generator/generated_file_writer.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/temp_dir.hpp"

namespace qb::gen {
namespace {

std::string WriteError(const std::string& dir, const std::string& relative) {
  try {
    GeneratedFolder(dir).Write(relative, "x");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(GeneratedFileWriterTest, RefusesUnsafePaths) {
  test::TempDir dir;
  const std::string out = dir.path().string();
  struct Case { std::string path, error; };
  const Case cases[] = {
      {"", "Unsafe generated path: "},
      {"/etc/x", "Unsafe generated path: /etc/x"},
      {"\\x", "Unsafe generated path: \\x"},
      {"C:x", "Unsafe generated path: C:x"},
      {"../x", "Unsafe generated path segment: ../x"},
      {"a/./b", "Unsafe generated path segment: a/./b"},
      {"a\\..\\b", "Unsafe generated path segment: a\\..\\b"},
      {"a/..", "Unsafe generated path segment: a/.."},
  };
  for (const auto& c : cases) EXPECT_EQ(WriteError(out, c.path), c.error) << c.path;
}

TEST(GeneratedFileWriterTest, WritesInsideTheOutputDirectory) {
  test::TempDir dir;
  const std::string out = dir.path().string();
  GeneratedFolder(out).Write("a//b/c.txt", "\xEF\xBB\xBFtext");
  EXPECT_EQ(test::ReadBytes(dir.path() / "a/b/c.txt"), "text");
  GeneratedFolder(out + "/").Write("d.txt", "");
  EXPECT_EQ(test::ReadBytes(dir.path() / "d.txt"), "");
  const GeneratedFolder folder(out + "/");
  EXPECT_EQ(folder.path(), out);
  EXPECT_EQ(folder.Full("e//f\\g"), (dir.path() / "e" / "f" / "g").string());
  EXPECT_TRUE(folder.Exists("a/b/c.txt"));
  EXPECT_EQ(folder.Read("a\\b/c.txt"), "text");
}

}  // namespace
}  // namespace qb::gen
