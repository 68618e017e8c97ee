// Generation plan.
#include "plan/plan_writer.hpp"

#include <exception>
#include <filesystem>
#include <stdexcept>

#include "core/json_lookup.hpp"
#include "core/json_parse.hpp"
#include "core/json_write.hpp"
#include "core/paths.hpp"
#include "core/text_file.hpp"
#include "core/utf8.hpp"
#include "model/identifiers.hpp"

namespace qb {
namespace {

using json::Value;

struct CatalogueRow {
  std::string_view path, category, template_id, purpose;
};

// The files every application has, in plan order; the database template gets the engine appended.
constexpr CatalogueRow kAlwaysFirst[] = {
    {"public/index.php", "entrypoint", "php.front-controller", "HTTP entry point"},
    {"app/Config/app.php", "config", "php.app-config", "Application settings"},
    {"app/Config/database.php", "config", "php.database-config.", "Database connection configuration"},
    {"app/Core/Router.php", "core", "php.router", "Route dispatching"},
    {"app/Core/Controller.php", "core", "php.controller-base", "Base controller"},
    {"app/Core/Model.php", "core", "php.model-base", "Base model"},
    {"app/Core/View.php", "core", "php.view-renderer", "Template rendering"},
    {"app/Core/Csrf.php", "security", "php.csrf", "CSRF token helpers"},
    {"app/Core/Session.php", "security", "php.session", "Session configuration"},
    {"app/Controllers/HomeController.php", "controller", "php.controller.home", "Default landing page controller"},
    {"app/Views/layouts/main.php", "view", "php.layout.main", "Shared application layout"},
    {"app/Views/home/index.php", "view", "php.view.home", "Default landing page"},
    {"routes/web.php", "routing", "php.routes.web", "Web routes"},
    {"database/migrations/README.md", "database", "migration.readme", "Custom migrations (optional)"},
    {"app/Config/schema.json", "database", "schema.runtime",
     "Database structure from the designer; tables/columns are created from it"},
    {"app/Core/Schema.php", "database", "php.schema-sync", "Creates missing tables and adds new columns"},
    {"storage/logs/.gitkeep", "runtime", "filesystem.keep", "Runtime log directory"},
    {".env.example", "config", "env.example", "Environment variable template"},
    {".gitignore", "project", "gitignore.php-app", "Ignore generated runtime and local files"},
    {"README.md", "documentation", "readme.php-app", "Application setup instructions"},
};

constexpr CatalogueRow kApi[] = {
    {"routes/api.php", "routing", "php.routes.api", "API routes"},
    {"app/Controllers/Api/HealthController.php", "controller", "php.api.health", "API health endpoint"},
};

constexpr CatalogueRow kTailwind[] = {
    {"resources/css/app.css", "asset", "css.tailwind.entry", "Tailwind CSS entry file"},
    {"package.json", "build-tool", "node.tailwind.package", "Frontend build dependencies"},
    {"tailwind.config.js", "build-tool", "node.tailwind.config", "Tailwind configuration"},
};

constexpr CatalogueRow kAlwaysLast[] = {
    {"public/assets/js/app.js", "asset", "js.app", "Application JavaScript"},
    {"tests/README.md", "tests", "tests.readme", "Generated application test instructions"},
};

constexpr CatalogueRow kPwa[] = {
    {"public/manifest.webmanifest", "pwa", "pwa.manifest", "PWA install manifest"},
    {"public/sw.js", "pwa", "pwa.service-worker", "Service worker with safe cache strategy"},
    {"public/assets/icons/README.md", "pwa", "pwa.icons.readme", "PWA icon assets instructions"},
};

struct PlanSettings {
  std::string project_id, project_name, backend, database, css_framework, output_directory;
  bool pwa_enabled, api_enabled;
};

PlanSettings ReadSettings(const Value& root) {
  const Value* project = json::ObjectMember(&root, "project");
  const Value* target = json::ObjectMember(&root, "target");
  const Value* build = json::ObjectMember(&root, "build");
  const Value* pwa = json::ObjectMember(&root, "pwa");
  return {
      json::StringMember(project, "id").value_or("project"),
      json::StringMember(project, "name").value_or("Untitled project"),
      json::StringMember(target, "backend").value_or("php-mvc"),
      json::StringMember(target, "database").value_or("sqlite"),
      json::StringMember(target, "cssFramework").value_or("bootstrap5"),
      json::StringMember(build, "outputDirectory").value_or("dist"),
      json::BooleanMember(target, "pwaEnabled").value_or(json::BooleanMember(pwa, "enabled").value_or(false)),
      json::BooleanMember(target, "apiEnabled").value_or(false),
  };
}

// Identifier and caption of the element at 1-based position n of pages or entities.
struct Named {
  std::string id, caption;
};

Named NameElement(const Value& element, std::size_t n, std::string_view prefix, std::string_view caption_key) {
  const auto id = json::StringMember(&element, "id");
  Named named;
  named.id = (id && IsSafeId(*id)) ? *id : std::string(prefix) + std::to_string(n);
  named.caption = json::StringMember(&element, caption_key).value_or(named.id);
  return named;
}

}  // namespace

bool IsSafeId(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

bool IsSafeRelativePath(std::string_view path) {
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  return !p.empty() && !p.starts_with("/") && p.find(':') == std::string::npos &&
         p.find("../") == std::string::npos && p != ".." && p.find("/..") == std::string::npos;
}

void PlanWriter::AddFile(std::string path, std::string category, std::string template_id, std::string purpose) {
  if (!IsSafeRelativePath(path)) throw std::runtime_error("Unsafe generated relative path: " + path);
  Value entry = Value::Object();
  entry.Set("path", Value::String(std::move(path)));
  entry.Set("category", Value::String(std::move(category)));
  entry.Set("template", Value::String(std::move(template_id)));
  entry.Set("purpose", Value::String(std::move(purpose)));
  files_.Append(std::move(entry));
}

Value PlanWriter::Build(std::string_view project_file, std::string& summary) {
  summary.clear();
  const std::optional<Value> root = json::Parse(ReadTextFile(project_file));
  if (!root || !root->IsObject()) throw std::runtime_error("Project JSON root must be an object.");
  const PlanSettings s = ReadSettings(*root);

  auto add_rows = [this](auto& rows) {
    for (const CatalogueRow& r : rows)
      AddFile(std::string(r.path), std::string(r.category), std::string(r.template_id), std::string(r.purpose));
  };
  for (const CatalogueRow& r : kAlwaysFirst) {
    const bool is_database_config = r.template_id.ends_with('.');
    AddFile(std::string(r.path), std::string(r.category),
            std::string(r.template_id) + (is_database_config ? s.database : ""), std::string(r.purpose));
  }
  if (s.api_enabled) add_rows(kApi);

  if (const Value* pages = json::ArrayMember(&*root, "pages")) {
    for (std::size_t i = 0; i < pages->Items().size(); ++i) {
      if (!pages->Items()[i].IsObject()) continue;
      const Named page = NameElement(pages->Items()[i], i + 1, "page-", "title");
      AddFile("app/Views/pages/" + page.id + ".php", "view", "php.view.page", "Page view: " + page.caption);
      AddFile("app/Controllers/" + page.id + "Controller.php", "controller", "php.controller.page",
              "Page controller: " + page.caption);
    }
  }
  if (const Value* entities = json::ArrayMember(json::ObjectMember(&*root, "database"), "entities")) {
    for (std::size_t i = 0; i < entities->Items().size(); ++i) {
      if (!entities->Items()[i].IsObject()) continue;
      const Named table = NameElement(entities->Items()[i], i + 1, "entity-", "name");
      AddFile("app/Models/" + table.id + ".php", "model", "php.model.entity", "Entity model: " + table.caption);
      AddFile("app/Controllers/" + model::ClassNameFromId(table.id) + "CrudController.php", "controller",
              "php.controller.crud", "CRUD controller (KTBGenerateCRUDApplication): " + table.caption);
    }
  }

  if (s.css_framework == "bootstrap5")
    AddFile("public/assets/css/app.css", "asset", "css.bootstrap5.overrides", "Application CSS overrides");
  else if (s.css_framework == "tailwind")
    add_rows(kTailwind);
  else
    AddFile("public/assets/css/app.css", "asset", "css.plain", "Plain CSS stylesheet");
  add_rows(kAlwaysLast);
  if (s.pwa_enabled) add_rows(kPwa);

  const std::size_t count = files_.Items().size();
  Value plan = Value::Object();
  plan.Set("planVersion", Value::String("1.0.0"));
  plan.Set("projectId", Value::String(s.project_id));
  plan.Set("projectName", Value::String(s.project_name));
  plan.Set("backend", Value::String(s.backend));
  plan.Set("database", Value::String(s.database));
  plan.Set("cssFramework", Value::String(s.css_framework));
  plan.Set("pwaEnabled", Value::Boolean(s.pwa_enabled));
  plan.Set("apiEnabled", Value::Boolean(s.api_enabled));
  plan.Set("outputDirectory", Value::String(s.output_directory));
  plan.Set("fileCount", Value::Integer(static_cast<long long>(count)));
  plan.Set("files", files_);

  summary = "Project=" + s.project_name + "; plannedFiles=" + std::to_string(count) + "; backend=" + s.backend +
            "; database=" + s.database + "; css=" + s.css_framework + "; pwa=" + json::BooleanText(s.pwa_enabled) +
            "; api=" + json::BooleanText(s.api_enabled);
  return plan;
}

PlanOutcome CreateGenerationPlan(std::string_view project_file, std::string_view plan_file) {
  try {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathFromUtf8(project_file), ec))
      return {false, "Project file does not exist: " + std::string(project_file)};
    if (Trim(plan_file).empty()) return {false, "Plan output filename is empty."};
    std::string summary;
    const Value plan = PlanWriter().Build(project_file, summary);
    WriteTextFile(plan_file, json::Write(plan));
    return {true, summary};
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

}  // namespace qb
