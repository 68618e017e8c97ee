// Project summary.
#include "check/project_model.hpp"

#include "core/json_lookup.hpp"
#include "core/json_write.hpp"

namespace qb {

ProjectModel LoadProjectModel(const json::Value& root) {
  using namespace json;
  const Value* project = ObjectMember(&root, "project");
  const Value* target = ObjectMember(&root, "target");
  const Value* database = ObjectMember(&root, "database");
  const Value* build = ObjectMember(&root, "build");

  ProjectModel m;
  m.schema_version = StringMember(&root, "schemaVersion").value_or("");
  m.project_id = StringMember(project, "id").value_or("");
  m.project_name = StringMember(project, "name").value_or("");
  m.project_version = StringMember(project, "version").value_or("");
  m.backend = StringMember(target, "backend").value_or("");
  m.database_engine = StringMember(target, "database").value_or("");
  m.css_framework = StringMember(target, "cssFramework").value_or("");
  m.output_directory = StringMember(build, "outputDirectory").value_or("dist");
  m.pwa_enabled = BooleanMember(target, "pwaEnabled").value_or(false);
  m.api_enabled = BooleanMember(target, "apiEnabled").value_or(false);
  m.page_count = ArrayCount(&root, "pages");
  m.entity_count = ArrayCount(database, "entities");
  m.connection_count = ArrayCount(database, "connections");
  return m;
}

std::string ProjectModel::Summary() const {
  return "Project=" + project_name + "; ID=" + project_id + "; Version=" + project_version + "; Backend=" + backend +
         "; Database=" + database_engine + "; CSS=" + css_framework + "; PWA=" + json::BooleanText(pwa_enabled) +
         "; API=" + json::BooleanText(api_enabled) + "; Pages=" + std::to_string(page_count) +
         "; Entities=" + std::to_string(entity_count) + "; Connections=" + std::to_string(connection_count) +
         "; Output=" + output_directory;
}

}  // namespace qb
