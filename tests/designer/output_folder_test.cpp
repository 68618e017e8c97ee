#include "designer/output_folder.hpp"

#include <gtest/gtest.h>

namespace qb::designer {
namespace {

TEST(OutputFolderTest, ResolvesRelativeFoldersAgainstTheProjectFile) {
  struct Case {
    PathStyle style;
    std::string output, project, current, expected;
  };
  const Case cases[] = {
      {PathStyle::Windows, "./build", "C:\\p\\shop.json", "C:\\cur", "C:\\p\\build"},
      {PathStyle::Windows, "../out", "C:\\p\\shop.json", "C:\\cur", "C:\\out"},
      {PathStyle::Windows, "D:/out", "C:\\p\\shop.json", "C:\\cur", "D:\\out"},
      {PathStyle::Windows, "\\srv\\x", "C:\\p\\shop.json", "C:\\cur", "\\srv\\x"},
      {PathStyle::Windows, "\\\\server\\share/app", "C:\\p\\shop.json", "C:\\cur", "\\\\server\\share\\app"},
      {PathStyle::Windows, "  ", "C:\\p\\shop.json", "C:\\cur", ""},
      {PathStyle::Windows, "./build", "", "C:\\cur", "C:\\cur\\build"},
      {PathStyle::Windows, "a/../../../b", "C:\\p\\shop.json", "C:\\cur", "C:\\b"},
      {PathStyle::Windows, "out", "rel\\shop.json", "C:\\cur", "C:\\cur\\rel\\out"},
      {PathStyle::Posix, "./build", "/home/u/p/shop.json", "/cur", "/home/u/p/build"},
      {PathStyle::Posix, "../out/", "/home/u/p/shop.json", "/cur", "/home/u/out"},
      {PathStyle::Posix, "/srv/www/../app", "/home/u/p/shop.json", "/cur", "/srv/www/../app"},
      {PathStyle::Posix, "./build", "", "/cur", "/cur/build"},
      {PathStyle::Posix, "site", "p/shop.json", "/cur", "/cur/p/site"},
      {PathStyle::Posix, "", "/p/shop.json", "/cur", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolveOutputFolderFor(c.output, c.project, c.current, c.style), c.expected)
        << c.output << " for " << c.project;
}

}  // namespace
}  // namespace qb::designer
