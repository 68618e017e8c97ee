#include "generator/page_files.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "generator/vendor_files.hpp"
#include "model/json_text.hpp"
#include "support/temp_dir.hpp"

namespace qb::gen {
namespace {

using test::Lines;
using test::ParseJson;

// Lines of a generated text file: each one ends in CR LF.
std::string FileLines(std::initializer_list<std::string_view> lines) { return Lines(lines) + "\r\n"; }

struct CommandResult {
  int status;
  std::string output;
};

CommandResult RunCommand(const std::string& command) {
  CommandResult result{-1, ""};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
  result.status = pclose(pipe);
  return result;
}

void ExpectPhpLintClean(const std::string& file) {
  const CommandResult lint = RunCommand("php -l '" + file + "'");
  EXPECT_EQ(lint.status, 0) << file << "\n" << lint.output;
}

// Title, app name, route and content that try to break out of every place they land.
const std::string kHostile = "O'Re\\illy \"q\" \\' <script>alert(1)</script> ?> <?php exit; ?> `x` &amp;";
const std::string kHostileLines = kHostile + "\r\nsecond\nthird\\";

TEST(PageFilesTest, LayoutWithBootstrapPwaAndNavigation) {
  const std::string nav =
      "                <a class=\"link-secondary text-decoration-none\" href=\"<?= htmlspecialchars(url('/about'), "
      "ENT_QUOTES, 'UTF-8') ?>\">About</a>\r\n";
  EXPECT_EQ(BuildLayout("Tom's <Shop>", "bootstrap5", "cdn", true, nav), FileLines({
      "<!doctype html>",
      "<html lang=\"en\">",
      "<head>",
      "    <meta charset=\"utf-8\">",
      "    <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
      "    <title><?= htmlspecialchars($title ?? 'Tom\\'s <Shop>', ENT_QUOTES, 'UTF-8') ?></title>",
      "    <link href=\"https://cdn.jsdelivr.net/npm/bootstrap@5.3.3/dist/css/bootstrap.min.css\" rel=\"stylesheet\" "
      "integrity=\"" + std::string(BootstrapCssIntegrity()) + "\" crossorigin=\"anonymous\">",
      "    <link rel=\"stylesheet\" href=\"<?= htmlspecialchars(url('/assets/css/app.css'), ENT_QUOTES, 'UTF-8') ?>\">",
      "    <link rel=\"manifest\" href=\"<?= htmlspecialchars(url('/manifest.webmanifest'), ENT_QUOTES, 'UTF-8') ?>\">",
      "</head>",
      "<body>",
      "    <main class=\"container py-4\">",
      "        <header class=\"d-flex flex-wrap align-items-center gap-3 mb-4 pb-3 border-bottom\">",
      "            <a href=\"<?= htmlspecialchars(url('/'), ENT_QUOTES, 'UTF-8') ?>\" class=\"text-decoration-none fs-5\">"
      "<strong>Tom&#039;s &lt;Shop&gt;</strong></a>",
      "            <nav class=\"d-flex flex-wrap gap-3\">",
      "                <?php foreach ((class_exists('Schema') ? Schema::entities() : []) as $navEntity): ?>",
      "                <a class=\"link-secondary text-decoration-none\" href=\"<?= e(url('/' . $navEntity['id'])) ?>\">"
      "<?= e($navEntity['name'] ?? $navEntity['id']) ?></a>",
      "                <?php endforeach; ?>",
      "                <a class=\"link-secondary text-decoration-none\" href=\"<?= htmlspecialchars(url('/about'), "
      "ENT_QUOTES, 'UTF-8') ?>\">About</a>",
      "            </nav>",
      "        </header>",
      "        <?php require $viewFile; ?>",
      "    </main>",
      "    <script src=\"<?= htmlspecialchars(url('/assets/js/app.js'), ENT_QUOTES, 'UTF-8') ?>\" defer></script>",
      "    <?php if (is_file(dirname(__DIR__, 3) . '/public/sw.js')): ?><script src=\"<?= htmlspecialchars("
      "url('/assets/js/sw-register.js'), ENT_QUOTES, 'UTF-8') ?>\" data-service-worker=\"<?= e(url('/sw.js')) ?>\" defer>"
      "</script><?php endif; ?>",
      "</body>",
      "</html>",
  }));
}

TEST(PageFilesTest, LayoutStylesheetsAndManifestFollowTheTarget) {
  const std::string cdn = "bootstrap@5.3.3";
  const std::string local = "url('/assets/vendor/bootstrap/css/bootstrap.min.css')";
  const std::string manifest = "rel=\"manifest\"";
  struct Case { std::string framework, assets; bool pwa; bool has_cdn, has_local; };
  const Case cases[] = {{"bootstrap5", "cdn", false, true, false},     {"bootstrap5", "local", false, false, true},
                        {"bootstrap5", "Local", false, true, false},   {"Bootstrap5", "local", false, false, false},
                        {"tailwind", "local", true, false, false},     {"plain-css", "cdn", false, false, false}};
  for (const auto& c : cases) {
    const std::string layout = BuildLayout("App", c.framework, c.assets, c.pwa, "");
    EXPECT_EQ(layout.find(cdn) != std::string::npos, c.has_cdn) << c.framework << c.assets;
    EXPECT_EQ(layout.find(local) != std::string::npos, c.has_local) << c.framework << c.assets;
    EXPECT_EQ(layout.find(manifest) != std::string::npos, c.pwa) << c.framework;
    EXPECT_NE(layout.find("/assets/css/app.css"), std::string::npos) << c.framework;
  }
  // No page links: the table loop end is followed directly by the end of the navigation.
  EXPECT_NE(BuildLayout("App", "plain-css", "cdn", false, "").find("<?php endforeach; ?>\r\n            </nav>\r\n"),
            std::string::npos);
}

TEST(PageFilesTest, PageController) {
  EXPECT_EQ(BuildPageController("about-us", "About 'us'"), FileLines({
      "<?php",
      "declare(strict_types=1);",
      "require_once dirname(__DIR__) . '/Core/Controller.php';",
      "",
      "final class About_usPageController extends Controller",
      "{",
      "    public function index(): void {",
      "        $this->view('pages/about-us', ['title' => 'About \\'us\\'']);",
      "    }",
      "}",
  }));
}

TEST(PageFilesTest, PageView) {
  EXPECT_EQ(BuildPageView("It's", "a<b\r\nc", "Landing Page!"), FileLines({
      "<section class=\"py-4 page-Landing_Page_\">",
      "  <div class=\"container-fluid\">",
      "    <div class=\"mb-4\">",
      "      <span class=\"badge text-bg-primary mb-2\">Landing Page!</span>",
      "      <h1 class=\"display-6 fw-bold\"><?= htmlspecialchars($title ?? 'It\\'s', ENT_QUOTES, 'UTF-8') ?></h1>",
      "    </div>",
      "    <div class=\"card border-0 shadow-sm rounded-4\"><div class=\"card-body p-4 p-lg-5\">",
      "      <div class=\"page-content\">a&lt;b<br>",
      "      c</div>",
      "    </div></div>",
      "  </div>",
      "</section>",
  }));
}

TEST(PageFilesTest, PageContentConversion) {
  struct Case { std::string content, html; };
  const Case cases[] = {
      {"", "<div class=\"page-content\"></div>"},
      {"x\ny", "<div class=\"page-content\">x<br>\r\n      y</div>"},
      {"x\r\n\r\ny", "<div class=\"page-content\">x<br>\r\n      <br>\r\n      y</div>"},
      // A lone CR is a line break too; left raw it would split the source line without a <br>.
      {"x\ry", "<div class=\"page-content\">x<br>\r\n      y</div>"},
      {"<?php exit; ?>", "<div class=\"page-content\">&lt;?php exit; ?&gt;</div>"},
  };
  for (const auto& c : cases)
    EXPECT_NE(BuildPageView("T", c.content, "standard").find(c.html + "\r\n"), std::string::npos) << c.content;
  EXPECT_NE(BuildPageView("T", "", "").find("class=\"py-4 page-standard\""), std::string::npos);
}

TEST(PageFilesTest, WebRoutesFollowThePages) {
  const json::Value root = ParseJson(R"({"pages": [
      {"id": "home", "title": "Home", "route": "/"},
      {"id": "about-us", "title": "About", "route": "about/"},
      "not a page",
      {"title": "Untitled", "route": "/untitled", "showInNavigation": false},
      {"id": "2024 report", "route": " /report "},
      {"id": "root", "route": "//"},
      {"id": "quote", "route": "/o'neil\\x"},
      {"id": "no-route"}
  ]})");
  EXPECT_EQ(BuildWebRoutes(root), FileLines({
      "<?php",
      "declare(strict_types=1);",
      "",
      "$router = new Router();",
      "$router->get('/', [HomeController::class, 'index']);",
      "$router->get('/about', [About_usPageController::class, 'index']);",
      "$router->get('/untitled', [Page_4PageController::class, 'index']);",
      "$router->get('/report', [_2024_reportPageController::class, 'index']);",
      "$router->get('/o\\'neil/x', [QuotePageController::class, 'index']);",
      "return $router;",
  }));
  EXPECT_EQ(BuildWebRoutes(ParseJson(R"({"pages": {"id": "x"}})")), FileLines({
      "<?php",
      "declare(strict_types=1);",
      "",
      "$router = new Router();",
      "$router->get('/', [HomeController::class, 'index']);",
      "return $router;",
  }));
}

TEST(PageFilesTest, EntityModel) {
  EXPECT_EQ(BuildEntityModel("order_items", "Order 'items'"), FileLines({
      "<?php",
      "declare(strict_types=1);",
      "",
      "// Generated by Kettlebourne Generator. Not loaded by the application; for hand-written code.",
      "final class Order_itemsModel",
      "{",
      "    public const TABLE = 'order_items';",
      "    public const LABEL = 'Order \\'items\\'';",
      "",
      "    public static function all(PDO $pdo): array",
      "    {",
      "        return $pdo->query('SELECT * FROM `' . self::TABLE . '`')->fetchAll();",
      "    }",
      "}",
  }));
}

TEST(PageFilesTest, HostileTextGivesValidPhp) {
  test::TempDir dir;
  json::Value root = json::Value::Object();
  json::Value pages = json::Value::Array();
  json::Value page = json::Value::Object();
  page.Set("id", json::Value::String(kHostile));
  page.Set("route", json::Value::String(kHostileLines));
  pages.Append(page);
  root.Set("pages", pages);
  const std::pair<std::string, std::string> files[] = {
      {"layout.php", BuildLayout(kHostileLines, "bootstrap5", "local", true, "")},
      {"controller.php", BuildPageController(kHostile, kHostileLines)},
      {"view.php", BuildPageView(kHostileLines, kHostileLines, kHostileLines)},
      {"routes.php", BuildWebRoutes(root)},
      {"model.php", BuildEntityModel(kHostile, kHostileLines)},
  };
  for (const auto& [name, text] : files) ExpectPhpLintClean(dir.Write(name, text));
}

TEST(PageFilesTest, HostileTextRendersEscaped) {
  test::TempDir dir;
  dir.Write("app/Views/layouts/main.php", BuildLayout(kHostile, "plain-css", "cdn", false, ""));
  dir.Write("app/Views/pages/p.php", BuildPageView(kHostile, kHostileLines, kHostile));
  const std::string harness = dir.Write("render.php",
      "<?php\n"
      "function url(string $path = '/'): string { return '/base/' . ltrim($path, '/'); }\n"
      "function e(mixed $value): string { return htmlspecialchars((string) $value, ENT_QUOTES, 'UTF-8'); }\n"
      "$viewFile = __DIR__ . '/app/Views/pages/p.php';\n"
      "require __DIR__ . '/app/Views/layouts/main.php';\n");
  const CommandResult render = RunCommand("php '" + harness + "'");
  ASSERT_EQ(render.status, 0) << render.output;
  const std::string shown =
      "O&#039;Re\\illy &quot;q&quot; \\&#039; &lt;script&gt;alert(1)&lt;/script&gt; ?&gt; &lt;?php exit; ?&gt; "
      "`x` &amp;amp;";
  EXPECT_EQ(render.output.find("<script>alert"), std::string::npos) << render.output;
  EXPECT_NE(render.output.find("<title>" + shown + "</title>"), std::string::npos) << render.output;
  EXPECT_NE(render.output.find("<strong>" + shown + "</strong>"), std::string::npos) << render.output;
  EXPECT_NE(render.output.find("<h1 class=\"display-6 fw-bold\">" + shown + "</h1>"), std::string::npos)
      << render.output;
  EXPECT_NE(render.output.find("<div class=\"page-content\">" + shown + "<br>\r\n      second<br>\r\n      third\\</div>"),
            std::string::npos)
      << render.output;
  EXPECT_NE(render.output.find("<span class=\"badge text-bg-primary mb-2\">" + shown + "</span>"), std::string::npos)
      << render.output;
}

}  // namespace
}  // namespace qb::gen
