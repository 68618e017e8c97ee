// Tables by id for many lookups: finds what Project::FindEntity finds without a scan.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/entity.hpp"

namespace qb::model {

class EntityIndex {
 public:
  // The entities must outlive the index and stay where they are.
  explicit EntityIndex(const std::vector<Entity>& entities);

  // The first table with that id, ignoring the case of A-Z; nullptr when there is none.
  const Entity* Find(std::string_view entity_id) const;

 private:
  std::unordered_map<std::string, const Entity*> by_id_;
};

}  // namespace qb::model
