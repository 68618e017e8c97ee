#include "core/text_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

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

TEST(TextFileTest, ReplaceInPiecesWritesThePiecesOrLeavesTheFileAsItWas) {
  TempDir dir;
  const std::string file = dir.Write("project.json", "old");
  struct Case {
    std::vector<std::string> pieces;
    bool fails;
    std::string expected;
  };
  const Case cases[] = {
      {{"{", "\r\n", "}"}, false, "{\r\n}"},
      {{}, false, ""},
      {{"\xEF\xBB\xBF", "x"}, false, "\xEF\xBB\xBFx"},  // pieces go in as they are
      {{"half"}, true, "\xEF\xBB\xBFx"},                 // a failure keeps the last good file
  };
  for (const Case& c : cases) {
    auto produce = [&](const TextSink& sink) {
      for (const std::string& piece : c.pieces) sink(piece);
      if (c.fails) throw std::runtime_error("stopped");
    };
    if (c.fails) EXPECT_THROW(ReplaceTextFileInPieces(file, produce), std::runtime_error);
    else ReplaceTextFileInPieces(file, produce);
    EXPECT_EQ(ReadBytes(file), c.expected);
    EXPECT_FALSE(std::filesystem::exists(file + ".saving"));
  }
  EXPECT_THROW(ReplaceTextFileInPieces(dir.path().string(), [](const TextSink& sink) { sink("x"); }),
               std::runtime_error);
}

}  // namespace
}  // namespace qb
