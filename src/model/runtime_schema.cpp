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
  root.Set("entities", json::Value::Array());
  std::string out = json::Write(root);
  if (project.entities.empty()) return out;
  // The tables go into the array one at a time, so only one of them is a JSON tree at once; the
  // first one's length sizes the text.
  const EntityIndex tables(project.entities);
  constexpr std::string_view kEmptyTail = "[\r\n  ]\r\n}";
  out.resize(out.size() - kEmptyTail.size() + 1);
  for (std::size_t i = 0; i < project.entities.size(); ++i) {
    const std::size_t before = out.size();
    out += "\r\n    ";
    json::AppendTo(out, RuntimeEntityJson(tables, project.entities[i]), 2);
    if (i + 1 < project.entities.size()) out += ',';
    if (i == 0) out.reserve(out.size() + (out.size() - before) * project.entities.size() * 11 / 10);
  }
  out += "\r\n  ]\r\n}";
  return out;
}

}  // namespace qb::model
