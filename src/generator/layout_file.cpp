// The shared layout app/Views/layouts/main.php: head, header with navigation, the view, scripts.
#include "generator/line_writer.hpp"
#include "generator/page_files.hpp"
#include "generator/text_functions.hpp"
#include "generator/vendor_files.hpp"

namespace qb::gen {
namespace {

std::string Indented(int blanks, std::string_view text) { return std::string(blanks, ' ').append(text); }

constexpr std::string_view kCdnOrigin = "https://cdn.jsdelivr.net";

std::string BootstrapLink(std::string_view assets) {
  if (assets == "local") {
    const std::string path = "/" + std::string(kBootstrapFolder) + "css/bootstrap.min.css";
    return "<link href=\"" + UrlEcho(path) + "\" rel=\"stylesheet\">";
  }
  return "<link href=\"" + std::string(kCdnOrigin) + "/npm/bootstrap@" + std::string(BootstrapVersion()) +
         "/dist/css/bootstrap.min.css\" rel=\"stylesheet\" integrity=\"" + std::string(BootstrapCssIntegrity()) +
         "\" crossorigin=\"anonymous\">";
}

}  // namespace

std::string StylesheetOrigin(std::string_view css_framework, std::string_view assets) {
  return css_framework == "bootstrap5" && assets != "local" ? std::string(kCdnOrigin) : std::string();
}

std::string BuildLayout(std::string_view app_name, std::string_view css_framework, std::string_view assets,
                        bool pwa_enabled, std::string_view navigation) {
  LineWriter w;
  w.Line("<!doctype html>").Line("<html lang=\"en\">").Line("<head>");
  w.Line(Indented(4, "<meta charset=\"utf-8\">"));
  w.Line(Indented(4, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
  w.Line(Indented(4, "<title><?= htmlspecialchars($title ?? '" + PhpQuote(app_name) +
                         "', ENT_QUOTES, 'UTF-8') ?></title>"));
  if (css_framework == "bootstrap5") w.Line(Indented(4, BootstrapLink(assets)));
  w.Line(Indented(4, "<link rel=\"stylesheet\" href=\"" + UrlEcho("/assets/css/app.css") + "\">"));
  if (pwa_enabled) w.Line(Indented(4, "<link rel=\"manifest\" href=\"" + UrlEcho("/manifest.webmanifest") + "\">"));
  w.Line("</head>").Line("<body>");
  w.Line(Indented(4, "<main class=\"container py-4\">"));
  w.Line(Indented(8, "<header class=\"d-flex flex-wrap align-items-center gap-3 mb-4 pb-3 border-bottom\">"));
  w.Line(Indented(12, "<a href=\"" + UrlEcho("/") + "\" class=\"text-decoration-none fs-5\"><strong>" +
                          HtmlEscape(app_name) + "</strong></a>"));
  w.Line(Indented(12, "<nav class=\"d-flex flex-wrap gap-3\">"));
  w.Line(Indented(16, "<?php foreach ((class_exists('Schema') ? Schema::entities() : []) as $navEntity): ?>"));
  w.Line(Indented(16, "<a class=\"link-secondary text-decoration-none\" href=\"<?= e(url('/' . $navEntity['id'])) ?>\">"
                      "<?= e($navEntity['name'] ?? $navEntity['id']) ?></a>"));
  w.Line(Indented(16, "<?php endforeach; ?>"));
  w.Raw(navigation);
  w.Line(Indented(12, "</nav>"));
  w.Line(Indented(8, "</header>"));
  w.Line(Indented(8, "<?php require $viewFile; ?>"));
  w.Line(Indented(4, "</main>"));
  w.Line(Indented(4, "<script src=\"" + UrlEcho("/assets/js/app.js") + "\" defer></script>"));
  // The service worker is registered only where public/sw.js exists, by a script file: the
  // Content-Security-Policy allows no inline script.
  w.Line(Indented(4, "<?php if (is_file(dirname(__DIR__, 3) . '/public/sw.js')): ?><script src=\"" +
                         UrlEcho("/assets/js/sw-register.js") +
                         "\" data-service-worker=\"<?= e(url('/sw.js')) ?>\" defer></script><?php endif; ?>"));
  w.Line("</body>").Line("</html>");
  return w.Text();
}

}  // namespace qb::gen
