// Generator input from the raw project JSON.
#include "generator/generation_input.hpp"

#include <set>
#include <stdexcept>

#include "core/json_lookup.hpp"
#include "core/utf8.hpp"
#include "generator/text_functions.hpp"

namespace qb::gen {
namespace {

using json::Value;

// Object elements of an array with their 1-based positions (other elements count but are skipped).
template <typename Fn>
void ForEachObject(const Value* array, Fn fn) {
  if (array == nullptr) return;
  for (std::size_t i = 0; i < array->Items().size(); ++i)
    if (array->Items()[i].IsObject()) fn(array->Items()[i], i + 1);
}

void RejectCollision(std::set<std::string>& seen, const std::string& id, std::string_view what) {
  if (!seen.insert(AsciiLower(id)).second)
    throw std::runtime_error(std::string(what) + " IDs collide after filename normalization: " + id);
}

}  // namespace

GenerationInput ReadGenerationInput(const Value& root) {
  const Value* project = json::ObjectMember(&root, "project");
  const Value* target = json::ObjectMember(&root, "target");
  const Value* pwa = json::ObjectMember(&root, "pwa");

  GenerationInput in;
  in.project_id = SafeFileId(json::StringMember(project, "id").value_or("project"), "project");
  // Names and titles stand on one line in the files (README heading, layout, navigation).
  in.app_name = SingleLine(json::StringMember(project, "name").value_or("Kettlebourne App"));
  in.engine = AsciiLower(json::StringMember(target, "database").value_or("sqlite"));
  in.css_framework = json::StringMember(target, "cssFramework").value_or("bootstrap5");
  in.assets = json::StringMember(target, "assets").value_or("cdn");
  in.pwa_enabled =
      json::BooleanMember(target, "pwaEnabled").value_or(json::BooleanMember(pwa, "enabled").value_or(false));
  in.api_enabled = json::BooleanMember(target, "apiEnabled").value_or(false);

  std::set<std::string> page_ids, page_classes;
  ForEachObject(json::ArrayMember(&root, "pages"), [&](const Value& page, std::size_t n) {
    PageInput p;
    p.id = SafeFileId(json::StringMember(&page, "id").value_or("page-" + std::to_string(n)), "page");
    RejectCollision(page_ids, p.id, "Page");
    // "about-us" and "about_us" are two files but one PHP class name.
    if (!page_classes.insert(AsciiLower(PhpClassName(p.id))).second)
      throw std::runtime_error("Page IDs collide after class name normalization: " + p.id);
    if (const auto title = json::StringMember(&page, "title")) p.title = SingleLine(*title);
    p.route = NormalizeRoute(json::StringMember(&page, "route").value_or("/"));
    p.in_navigation = json::BooleanMember(&page, "showInNavigation").value_or(true);
    p.template_name = SingleLine(json::StringMember(&page, "template").value_or("standard"));
    p.content = json::StringMember(&page, "content").value_or("");
    in.pages.push_back(std::move(p));
  });

  std::set<std::string> table_ids;
  ForEachObject(json::ArrayMember(json::ObjectMember(&root, "database"), "entities"),
                [&](const Value& table, std::size_t n) {
                  TableInput t;
                  t.id = SafeFileId(json::StringMember(&table, "id").value_or("entity-" + std::to_string(n)), "entity");
                  RejectCollision(table_ids, t.id, "Entity");
                  t.name = SingleLine(json::StringMember(&table, "name").value_or(t.id));
                  in.tables.push_back(std::move(t));
                });
  return in;
}

}  // namespace qb::gen
