// Runtime schema export.
#include "model/runtime_schema.hpp"

#include "core/json_write.hpp"
#include "model/entity_index.hpp"
#include "model/json_access.hpp"

namespace qb::model {
namespace {

json::Value RuntimeEntityJson(const EntityIndex& tables, const Entity& entity) {
  json::Value obj = entity.ToJson(true);
  std::vector<json::Value>& fields = obj.Find("fields")->Items();
  for (std::size_t i = 0; i < entity.fields.size(); ++i) {
    const Field& field = entity.fields[i];
    if (field.type != "lookup" || !field.lookup_field.empty()) continue;
    const Entity* target = tables.Find(field.lookup_entity);
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
  json::Value& entities = root.Set("entities", json::Value::Array());
  // The tables are made and written one at a time, so only one of them is a JSON tree at once.
  const EntityIndex tables(project.entities);
  const json::ItemSource sources[] = {{&entities, project.entities.size(), [&](std::size_t i) {
                                         return RuntimeEntityJson(tables, project.entities[i]);
                                       }}};
  std::string out;
  json::WriteInPieces(root, sources, [&out](std::string_view piece) { out.append(piece); });
  return out;
}

}  // namespace qb::model
