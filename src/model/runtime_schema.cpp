// Runtime schema export.
#include "model/runtime_schema.hpp"

#include "core/json_write.hpp"
#include "model/json_access.hpp"

namespace qb::model {
namespace {

json::Value RuntimeEntityJson(const Project& project, const Entity& entity) {
  json::Value obj = entity.ToJson(true);
  std::vector<json::Value>& fields = obj.Find("fields")->Items();
  for (std::size_t i = 0; i < entity.fields.size(); ++i) {
    const Field& field = entity.fields[i];
    if (field.type != "lookup" || !field.lookup_field.empty()) continue;
    const Entity* target = project.FindEntity(field.lookup_entity);
    if (target == nullptr) continue;
    PutPair(*fields[i].Find("lookup"), "field", json::Value::String(target->EffectiveDisplayField()));
  }
  return obj;
}

}  // namespace

std::string RuntimeSchemaJson(const Project& project) {
  json::Value root = json::Value::Object();
  root.Set("generator", json::Value::String(std::string(kGeneratorName)));
  root.Set("engine", json::Value::String(project.db_engine));
  json::Value entities = json::Value::Array();
  for (const Entity& entity : project.entities) entities.Append(RuntimeEntityJson(project, entity));
  root.Set("entities", std::move(entities));
  return json::Write(root);
}

}  // namespace qb::model
