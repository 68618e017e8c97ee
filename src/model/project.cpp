// Project defaults, loading from and saving to the JSON project file.
#include "model/project.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/json_lookup.hpp"
#include "core/json_parse.hpp"
#include "core/json_write.hpp"
#include "core/text_file.hpp"
#include "core/utf8.hpp"
#include "model/identifiers.hpp"
#include "model/json_access.hpp"

namespace qb::model {
namespace {

// The records share their objects with the document that holds the array.
template <typename Record>
std::vector<Record> LoadRecords(const std::shared_ptr<const json::Value>& document, const json::Value* array) {
  std::vector<Record> records;
  if (array == nullptr) return records;
  records.reserve(array->Items().size());
  for (const json::Value& item : array->Items()) {
    if (!item.IsObject()) continue;
    records.emplace_back().LoadFromJson(std::shared_ptr<const json::Value>(document, &item));
  }
  return records;
}

void WriteIdentity(const Project& p, json::Value& project) {
  PutPair(project, "id", json::Value::String(p.project_id));
  PutPair(project, "name", json::Value::String(p.project_name));
  PutPair(project, "version", json::Value::String(p.version));
}

void WriteTarget(const Project& p, json::Value& target) {
  PutPair(target, "backend", json::Value::String("php-mvc"));
  PutPair(target, "database", json::Value::String(p.db_engine));
  PutPair(target, "cssFramework", json::Value::String(p.css_framework));
  PutPair(target, "pwaEnabled", json::Value::Boolean(p.pwa_enabled));
  PutPair(target, "apiEnabled", json::Value::Boolean(p.api_enabled));
  // A key the author took back leaves the file, also when the last save wrote it.
  if (p.assets) PutPair(target, "assets", json::Value::String(*p.assets));
  else target.Remove("assets");
}

void WriteConnection(const Project& p, json::Value& connection) {
  PutPair(connection, "host", json::Value::String(p.db_host));
  PutPair(connection, "port", json::Value::String(p.db_port));
  PutPair(connection, "name", json::Value::String(p.db_name));
  PutPair(connection, "username", json::Value::String(p.db_user));
  PutPair(connection, "password", json::Value::String(p.db_password));
  PutPair(connection, "writeEnv", json::Value::Boolean(p.write_env));
}

// The loaded object's other members first, then the written ones.
json::Value SecurityObject(const Security& security, const json::Value* loaded) {
  json::Value obj = CloneOrNew(loaded, {"signIn", "roles"});
  PutPair(obj, "signIn", json::Value::Boolean(security.sign_in));
  json::Value roles = json::Value::Array();
  for (const std::string& role : security.roles) roles.Append(json::Value::String(role));
  PutPair(obj, "roles", std::move(roles));
  return obj;
}

void WriteDatabase(const Project& p, json::Value& database) {
  WriteConnection(p, EnsureObject(database, "connection"));
  PutPair(database, "entities", json::Value::Array());
  // Other connections are not part of the model; they are kept when they are an array.
  const json::Value* connections = database.Find("connections");
  if (connections == nullptr || !connections->IsArray()) PutPair(database, "connections", json::Value::Array());
}

// One record's object, its pairs written by write.
template <typename Write>
void WriteRecord(json::Emitter& out, const Write& write) {
  out.BeginObject();
  PairEmitter pairs(out);
  write(pairs);
  out.End();
}

// A copy of the loaded root without its pages and tables, which BuildRoot writes anew; a new
// object when there is none.
json::Value CopyWithoutRecords(const json::Value* root) {
  json::Value copy = json::Value::Object();
  if (root == nullptr) return copy;
  copy.Members().reserve(root->Members().size());
  for (const json::Member& m : root->Members()) {
    if (m.key == "pages") continue;
    if (m.key == "database" && m.value.IsObject()) copy.Members().push_back({m.key, CloneOrNew(&m.value, {"entities"})});
    else copy.Members().push_back(m);
  }
  return copy;
}

}  // namespace

Project::Project() { InitNew(); }

void Project::Clear() {
  entities.clear();
  pages.clear();
  security.reset();
  root_.reset();
  file_name_.clear();
}

void Project::InitNew() {
  Clear();
  project_id = "my-web-app";
  project_name = "My Web Application";
  version = "1.0.0";
  db_engine = "sqlite";
  css_framework = "bootstrap5";
  assets = "local";
  pwa_enabled = false;
  api_enabled = false;
  db_host = "127.0.0.1";
  db_port = "3306";
  db_name = "my_web_app";
  db_user = "root";
  db_password.clear();
  write_env = true;
  output_directory = "./build";
  Page about;
  about.id = "about";
  about.title = "About";
  about.route = "/about";
  pages.push_back(std::move(about));
}

void Project::LoadFromRoot(const json::Value& root) { LoadFromRoot(std::make_shared<const json::Value>(root)); }

void Project::LoadFromRoot(std::shared_ptr<const json::Value> shared_root) {
  const json::Value& root = *shared_root;
  // Built aside and moved in, so a failure leaves this project as it was.
  Project loaded;
  loaded.root_ = shared_root;
  const json::Value* project = json::ObjectMember(&root, "project");
  const json::Value* target = json::ObjectMember(&root, "target");
  const json::Value* database = json::ObjectMember(&root, "database");
  const json::Value* connection = json::ObjectMember(database, "connection");
  const json::Value* build = json::ObjectMember(&root, "build");
  const json::Value* security = json::ObjectMember(&root, "security");

  loaded.project_id = JsonStr(project, "id", loaded.project_id);
  loaded.project_name = JsonStr(project, "name", loaded.project_name);
  loaded.version = JsonStr(project, "version", loaded.version);
  loaded.db_engine = AsciiLower(JsonStr(target, "database", loaded.db_engine));
  loaded.css_framework = JsonStr(target, "cssFramework", loaded.css_framework);
  loaded.assets.reset();
  if (target != nullptr && target->Find("assets") != nullptr) loaded.assets = JsonStr(target, "assets", "cdn");
  loaded.pwa_enabled = JsonBool(target, "pwaEnabled", false);
  loaded.api_enabled = JsonBool(target, "apiEnabled", false);
  loaded.db_host = JsonStr(connection, "host", loaded.db_host);
  loaded.db_port = JsonStr(connection, "port", loaded.db_port);
  loaded.db_name = JsonStr(connection, "name", SanitizeIdentifier(loaded.project_id, "kettlebourne"));
  loaded.db_user = JsonStr(connection, "username", loaded.db_user);
  loaded.db_password = JsonStr(connection, "password", "");
  loaded.write_env = JsonBool(connection, "writeEnv", connection != nullptr);
  loaded.output_directory = JsonStr(build, "outputDirectory", "./build");
  loaded.entities = LoadRecords<Entity>(shared_root, json::ArrayMember(database, "entities"));
  loaded.pages = LoadRecords<Page>(shared_root, json::ArrayMember(&root, "pages"));
  if (security != nullptr) loaded.security = Security::FromJson(*security);
  *this = std::move(loaded);
}

void Project::LoadFromFile(std::string_view file_name) {
  std::optional<json::Value> root = json::Parse(ReadTextFile(file_name));
  if (!root || !root->IsObject())
    throw std::runtime_error("Not a Kettlebourne project file (JSON object expected): " + std::string(file_name));
  LoadFromRoot(std::make_shared<const json::Value>(std::move(*root)));
  file_name_ = file_name;
}

json::Value Project::BuildRootWithoutRecords() const {
  json::Value root = CopyWithoutRecords(root_.get());
  PutPair(root, "schemaVersion", json::Value::String(std::string(kSchemaVersion)));
  // Each section is written before the next EnsureObject, which may move the earlier ones.
  WriteIdentity(*this, EnsureObject(root, "project"));
  WriteTarget(*this, EnsureObject(root, "target"));
  WriteDatabase(*this, EnsureObject(root, "database"));
  PutPair(root, "pages", json::Value::Array());
  PutPair(EnsureObject(root, "build"), "outputDirectory", json::Value::String(output_directory));
  if (security) PutPair(root, "security", SecurityObject(*security, json::ObjectMember(root_.get(), "security")));
  else if (json::ObjectMember(&root, "security") != nullptr) root.Remove("security");
  return root;
}

json::Value Project::BuildRoot() const {
  json::Value root = BuildRootWithoutRecords();
  json::Value& entity_array = *root.Find("database")->Find("entities");
  entity_array.Items().reserve(entities.size());
  for (const Entity& entity : entities) entity_array.Append(entity.ToJson(false));
  json::Value& page_array = *root.Find("pages");
  page_array.Items().reserve(pages.size());
  for (const Page& page : pages) page_array.Append(page.ToJson());
  return root;
}

void Project::WriteSaved(const json::Value& root, const TextSink& sink) const {
  // The records are made and written one at a time, so the file's tree is never held twice.
  const json::ItemSource sources[] = {
      {root.Find("database")->Find("entities"), entities.size(),
       [this](std::size_t i, json::Emitter& out) { WriteRecord(out, [&](PairEmitter& pairs) { entities[i].WritePairs(pairs, false); }); }},
      {root.Find("pages"), pages.size(),
       [this](std::size_t i, json::Emitter& out) { WriteRecord(out, [&](PairEmitter& pairs) { pages[i].WritePairs(pairs); }); }},
  };
  json::WriteInPieces(root, sources, sink);
}

void Project::ReplaceWithSavedText(std::string& text) const {
  text.clear();
  WriteSaved(BuildRootWithoutRecords(), [&](std::string_view piece) { text += piece; });
}

void Project::SaveToFile(std::string_view file_name) {
  json::Value root = BuildRootWithoutRecords();
  ReplaceTextFileInPieces(file_name, [&](const TextSink& sink) { WriteSaved(root, sink); });
  // Saving reads back no records from the root, only the keys around them.
  root_ = std::make_shared<const json::Value>(std::move(root));
  file_name_ = file_name;
}

const Entity* Project::FindEntity(std::string_view entity_id) const {
  const auto it = std::find_if(entities.begin(), entities.end(),
                               [&](const Entity& e) { return SameTextAscii(e.id, entity_id); });
  return it == entities.end() ? nullptr : &*it;
}

bool Project::AnyTable(const std::function<bool(const Entity&)>& holds) const {
  return std::any_of(entities.begin(), entities.end(), holds);
}

bool Project::AnyField(const std::function<bool(const Field&)>& holds) const {
  return AnyTable([&](const Entity& table) { return std::any_of(table.fields.begin(), table.fields.end(), holds); });
}

bool Project::ImportsCsv() const {
  return AnyTable([](const Entity& table) { return table.import_csv.value_or(false); });
}

bool Project::MovesData() const {
  return AnyTable([](const Entity& table) { return table.export_csv.value_or(false) || table.import_csv.value_or(false); }) ||
         AnyField([](const Field& field) { return field.filter.value_or(false); });
}

bool Project::HasDetailPages() const {
  return AnyTable([](const Entity& table) { return table.detail_page.value_or(false); });
}

bool Project::HasRelationRules() const {
  return HasDetailPages() ||
         AnyField([](const Field& field) { return field.list_on_parent.value_or(false) || field.on_delete.has_value(); });
}

bool Project::SearchesFullText() const {
  return AnyTable([](const Entity& table) { return table.full_text_search.value_or(false); });
}

}  // namespace qb::model
