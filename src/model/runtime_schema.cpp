// Runtime schema export.
#include "model/runtime_schema.hpp"

#include <algorithm>

#include "core/json_write.hpp"
#include "model/entity_index.hpp"
#include "model/json_access.hpp"

namespace qb::model {
namespace {

// A lookup without a field of its own shows its target's display field.
bool ShowsTargetDisplayField(const EntityIndex& tables, const Field& field) {
  return field.type == "lookup" && field.lookup_field.empty() && tables.Find(field.lookup_entity) != nullptr;
}

void WriteRuntimeEntity(PairEmitter& out, const EntityIndex& tables, const Entity& entity) {
  const auto unresolved = [&](const Field& field) { return ShowsTargetDisplayField(tables, field); };
  if (std::none_of(entity.fields.begin(), entity.fields.end(), unresolved)) {
    entity.WritePairs(out, true);
    return;
  }
  Entity resolved = entity;
  for (Field& field : resolved.fields)
    if (unresolved(field)) field.lookup_field = tables.Find(field.lookup_entity)->EffectiveDisplayField();
  resolved.WritePairs(out, true);
}

}  // namespace

void WriteRuntimeSchema(const Project& project, const TextSink& sink) {
  constexpr std::size_t kPieceSize = 1 << 16;
  std::string text;
  json::Emitter out(text);
  PairEmitter pairs(out);
  out.BeginObject();
  pairs.PutString("generator", kGeneratorName);
  pairs.PutString("engine", project.db_engine);
  // Only an application with sign-in gets the key, so the schema of any other stays as it was.
  if (project.RequiresSignIn()) {
    out.Key("security");
    out.BeginObject();
    pairs.PutBoolean("signIn", true);
    pairs.PutStrings("roles", project.security->AllRoles());
    out.End();
  }
  out.Key("entities");
  out.BeginArray();
  const EntityIndex tables(project.entities);
  for (const Entity& entity : project.entities) {
    out.BeginObject();
    WriteRuntimeEntity(pairs, tables, entity);
    out.End();
    if (text.size() < kPieceSize) continue;
    sink(text);
    text.clear();
  }
  out.End();
  out.End();
  sink(text);
}

std::string RuntimeSchemaJson(const Project& project) {
  std::string text;
  WriteRuntimeSchema(project, [&](std::string_view piece) { text += piece; });
  return text;
}

}  // namespace qb::model
