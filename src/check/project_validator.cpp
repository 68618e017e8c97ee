// Project file validator.
#include "check/project_validator.hpp"

#include <exception>
#include <filesystem>
#include <set>

#include "core/json_lookup.hpp"
#include "core/json_parse.hpp"
#include "core/paths.hpp"
#include "core/text_file.hpp"
#include "core/utf8.hpp"
#include "model/design_rules.hpp"
#include "model/project.hpp"

namespace qb {
namespace {

using json::Value;
using Issues = std::vector<std::string>;

// The strict string reader: the text of a JSON string, empty for anything else.
std::string Str(const Value* object, std::string_view key) {
  return json::StringMember(object, key).value_or("");
}

bool HasKey(const Value* object, std::string_view key) {
  return object != nullptr && object->Find(key) != nullptr;
}

std::string JoinIssues(const Issues& issues) {
  std::string text;
  for (const std::string& issue : issues) text += issue + "\r\n";
  return text;
}

ValidationOutcome Failed(const Issues& issues) { return {false, JoinIssues(issues), std::nullopt}; }

void CheckProject(const Value& root, Issues& issues) {
  const Value* project = json::ObjectMember(&root, "project");
  if (project == nullptr) {
    issues.push_back("Required property \"project\" must be an object.");
    return;
  }
  if (!IsValidProjectId(Str(project, "id")))
    issues.push_back("project.id must contain lowercase letters, digits, and hyphens, and start with a letter or digit.");
  if (Trim(Str(project, "name")).empty()) issues.push_back("project.name is required.");
  if (Trim(Str(project, "version")).empty()) issues.push_back("project.version is required.");
}

void CheckTarget(const Value& root, Issues& issues) {
  const Value* target = json::ObjectMember(&root, "target");
  if (target == nullptr) {
    issues.push_back("Required property \"target\" must be an object.");
    return;
  }
  if (Str(target, "backend") != "php-mvc") issues.push_back("target.backend must be \"php-mvc\".");
  const std::string database = AsciiLower(Str(target, "database"));
  if (database != "mysql" && database != "mariadb" && database != "sqlite")
    issues.push_back("target.database must be \"mysql\", \"mariadb\", or \"sqlite\".");
  const std::string css = Str(target, "cssFramework");
  if (css != "bootstrap5" && css != "tailwind" && css != "plain-css")
    issues.push_back("target.cssFramework must be \"bootstrap5\", \"tailwind\", or \"plain-css\".");
  for (const char* key : {"pwaEnabled", "apiEnabled"})
    if (HasKey(target, key) && !json::BooleanMember(target, key))
      issues.push_back(std::string("target.") + key + " must be true or false.");
  const std::string assets = Str(target, "assets");
  if (HasKey(target, "assets") && assets != "cdn" && assets != "local")
    issues.push_back("target.assets must be \"cdn\" or \"local\".");
}

// Role lists hold texts only; anything else would be skipped silently when read.
bool IsTextArray(const Value* value) {
  if (value == nullptr || !value->IsArray()) return false;
  for (const Value& item : value->Items())
    if (!item.IsString()) return false;
  return true;
}

void CheckSecurity(const Value& root, Issues& issues) {
  if (!HasKey(&root, "security")) return;
  const Value* security = json::ObjectMember(&root, "security");
  if (security == nullptr) {
    issues.push_back("security must be an object when provided.");
    return;
  }
  if (HasKey(security, "signIn") && !json::BooleanMember(security, "signIn"))
    issues.push_back("security.signIn must be true or false.");
  if (HasKey(security, "roles") && !IsTextArray(security->Find("roles")))
    issues.push_back("security.roles must be an array of role names.");
}

void CheckTableAccess(const Value& table, const std::string& at, Issues& issues) {
  if (!HasKey(&table, "access")) return;
  const Value* access = json::ObjectMember(&table, "access");
  if (access == nullptr) {
    issues.push_back(at + ".access must be an object when provided.");
    return;
  }
  for (std::string_view right : model::TableAccess::kKeys)
    if (HasKey(access, right) && !IsTextArray(access->Find(right)))
      issues.push_back(at + ".access." + std::string(right) + " must be an array of role names.");
}

void CheckDatabase(const Value& root, const model::Project& project, Issues& issues) {
  const Value* database = json::ObjectMember(&root, "database");
  if (database == nullptr) {
    issues.push_back("Required property \"database\" must be an object.");
    return;
  }
  if (const Value* entities = json::ArrayMember(database, "entities")) {
    CheckUniqueIds(*entities, "database.entities", "id", issues);
    for (std::size_t i = 0; i < entities->Items().size(); ++i) {
      const Value& e = entities->Items()[i];
      const std::string at = "database.entities[" + std::to_string(i) + "]";
      if (e.IsObject() && Trim(Str(&e, "name")).empty()) issues.push_back(at + " requires a non-empty \"name\" string.");
      if (e.IsObject()) CheckTableAccess(e, at, issues);
    }
  } else {
    issues.push_back("database.entities must be an array.");
  }
  model::Validate(project, issues);
  if (HasKey(database, "connections") && json::ArrayMember(database, "connections") == nullptr)
    issues.push_back("database.connections must be an array when provided.");
}

void CheckPages(const Value& root, Issues& issues) {
  const Value* pages = json::ArrayMember(&root, "pages");
  if (pages == nullptr) {
    issues.push_back("Required property \"pages\" must be an array.");
    return;
  }
  if (pages->Items().empty()) {
    issues.push_back("At least one page is required.");
    return;
  }
  CheckUniqueIds(*pages, "pages", "id", issues);
  for (std::size_t i = 0; i < pages->Items().size(); ++i) {
    const Value& page = pages->Items()[i];
    if (!page.IsObject()) continue;
    const std::string at = "pages[" + std::to_string(i) + "]";
    if (Trim(Str(&page, "title")).empty()) issues.push_back(at + " requires a non-empty \"title\" string.");
    if (!Str(&page, "route").starts_with("/")) issues.push_back(at + ".route must start with \"/\".");
    if (HasKey(&page, "components") && json::ArrayMember(&page, "components") == nullptr)
      issues.push_back(at + ".components must be an array when provided.");
  }
}

void CheckBuild(const Value& root, Issues& issues) {
  const Value* build = json::ObjectMember(&root, "build");
  if (build == nullptr) {
    issues.push_back("Required property \"build\" must be an object.");
    return;
  }
  if (HasKey(build, "outputDirectory") && Trim(Str(build, "outputDirectory")).empty())
    issues.push_back("build.outputDirectory must not be empty.");
}

}  // namespace

bool IsValidProjectId(std::string_view text) {
  auto lower_or_digit = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); };
  if (text.empty() || !lower_or_digit(text.front())) return false;
  for (char c : text)
    if (!lower_or_digit(c) && c != '-') return false;
  return true;
}

void CheckUniqueIds(const Value& items, std::string_view label, std::string_view key, Issues& issues) {
  std::set<std::string> seen;
  for (std::size_t i = 0; i < items.Items().size(); ++i) {
    const Value& item = items.Items()[i];
    const std::string at = std::string(label) + "[" + std::to_string(i) + "]";
    if (!item.IsObject()) {
      issues.push_back(at + " must be a JSON object.");
      continue;
    }
    const std::string id = Str(&item, key);
    if (id.empty()) issues.push_back(at + " requires a non-empty \"" + std::string(key) + "\" string.");
    else if (!seen.insert(AsciiLower(id)).second)
      issues.push_back("Duplicate " + std::string(label) + " id \"" + id + "\".");
  }
}

ValidationOutcome ValidateProjectFile(std::string_view file_name) {
  ParsedProject parsed;
  return ValidateProjectFile(file_name, parsed);
}

ValidationOutcome ValidateProjectFile(std::string_view file_name, ParsedProject& parsed) {
  if (Trim(file_name).empty()) return Failed({"Project file path is empty."});
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(file_name), ec))
    return Failed({"Project file does not exist: " + std::string(file_name)});

  Issues issues;
  if (!HasJsonExtension(file_name)) issues.push_back("Project file should use the .json extension.");

  std::string text;
  try {
    text = ReadTextFile(file_name);
  } catch (const std::exception& e) {
    issues.push_back(std::string("Could not read project file: ") + e.what());
    return Failed(issues);
  }
  std::optional<Value> parsed_root = json::Parse(text);
  if (!parsed_root || !parsed_root->IsObject()) {
    issues.push_back("The project JSON root must be an object.");
    return Failed(issues);
  }
  text = std::string();
  parsed.root = std::make_shared<const Value>(std::move(*parsed_root));
  parsed.project.LoadFromRoot(parsed.root);
  const Value* root = parsed.root.get();

  if (Str(&*root, "schemaVersion") != "1.0.0") issues.push_back("schemaVersion must be \"1.0.0\".");
  CheckProject(*root, issues);
  CheckTarget(*root, issues);
  CheckSecurity(*root, issues);
  CheckDatabase(*root, parsed.project, issues);
  CheckPages(*root, issues);
  CheckBuild(*root, issues);

  if (!issues.empty()) return Failed(issues);
  return {true, "Project JSON is valid.", LoadProjectModel(*root)};
}

}  // namespace qb
