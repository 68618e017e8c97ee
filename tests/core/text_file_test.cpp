#include "core/text_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "support/temp_dir.hpp"

namespace qb {
namespace {

using test::ReadBytes;
using test::TempDir;

TEST(TextFileTest, ReadDropsByteOrderMarkAndRepairsInvalidUtf8) {
  TempDir dir;
  struct Case { std::string bytes, text; };
  const Case cases[] = {
      {"", ""},
      {"\xEF\xBB\xBF{}", "{}"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", "\xEF\xBB\xBFx"},  // only one mark is dropped
      {"a\xFF\r\nb", "a\xEF\xBF\xBD\r\nb"},
      {"\xC3\xA4", "\xC3\xA4"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadTextFile(dir.Write("f.txt", c.bytes)), c.text);
}

TEST(TextFileTest, ReadFailsForMissingFileAndFolder) {
  TempDir dir;
  EXPECT_THROW(ReadTextFile(dir.File("missing.json")), std::runtime_error);
  EXPECT_THROW(ReadTextFile(dir.path().string()), std::runtime_error);
}

TEST(TextFileTest, WriteCreatesFoldersReplacesFilesAndDropsLeadingMark) {
  TempDir dir;
  const std::string file = dir.File("a/b/c/out.json");
  WriteTextFile(file, "\xEF\xBB\xBF{\r\n}");
  EXPECT_EQ(ReadBytes(file), "{\r\n}");
  WriteTextFile(file, "x");
  EXPECT_EQ(ReadBytes(file), "x");
  WriteTextFile(file, "");
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(ReadBytes(file), "");
}

TEST(TextFileTest, WriteFailsWhenTheTargetIsAFolder) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "taken");
  EXPECT_THROW(WriteTextFile(dir.File("taken"), "x"), std::runtime_error);
  dir.Write("plain", "x");
  EXPECT_THROW(WriteTextFile(dir.File("plain/inner.txt"), "x"), std::runtime_error);
}

TEST(TextFileTest, NonAsciiFileNamesRoundTrip) {
  TempDir dir;
  const std::string file = dir.File("proj\xC3\xA9t/\xE2\x82\xAC.json");
  WriteTextFile(file, "ok");
  EXPECT_EQ(ReadTextFile(file), "ok");
}

}  // namespace
}  // namespace qb
