#include "generator/core_files.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace qb::gen {
namespace {

struct CoreFile {
  std::string_view path;
  std::function<std::string()> build;
};

const CoreFile kCoreFiles[] = {
    {"public/index.php", [] { return BuildFrontController(false); }},
    {"app/Core/Url.php", BuildUrlFunctions},
    {"app/Core/Router.php", BuildRouter},
    {"app/Core/Controller.php", BuildBaseController},
    {"app/Core/View.php", BuildViewStub},
    {"app/Core/Csrf.php", BuildCsrf},
    {"app/Core/Session.php", BuildSession},
    {"app/Controllers/HomeController.php", BuildHomeController},
};

TEST(CoreFilesTest, EveryFileIsStrictPhpWithCrLfLines) {
  for (const CoreFile& file : kCoreFiles) {
    const std::string text = file.build();
    EXPECT_EQ(text.rfind("<?php\r\ndeclare(strict_types=1);\r\n", 0), 0u) << file.path;
    ASSERT_GE(text.size(), 2u) << file.path;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << file.path;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << file.path << " at " << i;
      }
    }
  }
}

TEST(CoreFilesTest, FrontControllerRequiresCoreInOrderWithTheControllerAnchor) {
  const std::string text = BuildFrontController(false);
  EXPECT_EQ(BuildFrontController(true), text);
  const std::string_view require_lines[] = {
      "require_once dirname(__DIR__) . '/app/Core/Url.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Core/Session.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Core/Router.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Core/Controller.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Core/View.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Core/Csrf.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Core/Schema.php';\r\n",
      "require_once dirname(__DIR__) . '/app/Controllers/HomeController.php';\r\n",
  };
  std::size_t previous = text.find("/app/Config/app.php");
  ASSERT_NE(previous, std::string::npos);
  for (std::string_view line : require_lines) {
    const std::size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_GT(at, previous) << line;
    EXPECT_EQ(text.find(line, at + 1), std::string::npos) << "twice: " << line;
    previous = at;
  }
  EXPECT_LT(previous, text.find("/routes/web.php"));
}

TEST(CoreFilesTest, ViewStubHoldsOnlyItsComment) {
  EXPECT_EQ(BuildViewStub(),
            "<?php\r\n"
            "declare(strict_types=1);\r\n"
            "/* Views are rendered by Controller::view(). */\r\n");
}

}  // namespace
}  // namespace qb::gen
