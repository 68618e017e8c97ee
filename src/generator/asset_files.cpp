// Script, stylesheets, Tailwind build files, PWA and API files of the generated application.
#include "generator/asset_files.hpp"

#include "core/json_value.hpp"
#include "core/json_write.hpp"
#include "core/utf8.hpp"
#include "generator/tailwind_css.hpp"
#include "generator/templates.hpp"

namespace qb::gen {

std::string BuildAppJs() { return std::string(Template("public/assets/js/app.js")); }

std::string BuildStylesheet(std::string_view css_framework) {
  if (css_framework == "tailwind") return std::string(TailwindCss());
  if (css_framework == "plain-css") return std::string(Template("public/assets/css/app.plain-css.css"));
  return std::string(Template("public/assets/css/app.css"));
}

std::string BuildTailwindSource() { return std::string(Template("resources/css/app.css")); }

std::string BuildPackageJson() { return std::string(Template("package.json")); }

std::string BuildTailwindConfig() { return std::string(Template("tailwind.config.js")); }

std::string BuildApiHealth() { return std::string(Template("public/api/health.php")); }

std::string BuildApiRoutes() { return std::string(Template("routes/api.php")); }

std::string BuildManifest(std::string_view app_name, std::string_view project_id) {
  json::Value manifest = json::Value::Object();
  manifest.Set("name", json::Value::String(std::string(app_name)));
  manifest.Set("short_name", json::Value::String(Utf8Prefix(app_name, 20)));
  manifest.Set("id", json::Value::String("./?app=" + std::string(project_id)));
  manifest.Set("start_url", json::Value::String("./"));
  manifest.Set("scope", json::Value::String("./"));
  manifest.Set("display", json::Value::String("standalone"));
  manifest.Set("background_color", json::Value::String("#ffffff"));
  manifest.Set("theme_color", json::Value::String("#0d6efd"));
  manifest.Set("icons", json::Value::Array());
  return json::Write(manifest);
}

std::string BuildServiceWorker() { return std::string(Template("public/sw.js")); }

}  // namespace qb::gen
