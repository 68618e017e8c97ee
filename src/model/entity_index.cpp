// Table index.
#include "model/entity_index.hpp"

#include "core/utf8.hpp"

namespace qb::model {

EntityIndex::EntityIndex(const std::vector<Entity>& entities) {
  by_id_.reserve(entities.size());
  for (const Entity& entity : entities) by_id_.try_emplace(AsciiLower(entity.id), &entity);
}

const Entity* EntityIndex::Find(std::string_view entity_id) const {
  const auto it = by_id_.find(AsciiLower(entity_id));
  return it == by_id_.end() ? nullptr : it->second;
}

}  // namespace qb::model
