// Security and table access: reading and role lists.
#include "model/access.hpp"

#include <algorithm>

#include "model/json_access.hpp"

namespace qb::model {

std::vector<std::string> StringItems(const json::Value* array) {
  std::vector<std::string> texts;
  if (array == nullptr || !array->IsArray()) return texts;
  for (const json::Value& item : array->Items())
    if (item.IsString()) texts.push_back(item.Text());
  return texts;
}

std::vector<std::string> Security::AllRoles() const {
  std::vector<std::string> all = {std::string(kAdminRole)};
  for (const std::string& role : roles)
    if (std::find(all.begin(), all.end(), role) == all.end()) all.push_back(role);
  return all;
}

Security Security::FromJson(const json::Value& obj) {
  Security security;
  security.sign_in = JsonBool(&obj, "signIn", false);
  security.roles = StringItems(obj.Find("roles"));
  return security;
}

bool TableAccess::Grants(Right right, std::string_view role) const {
  const std::vector<std::string>& granted = roles[right];
  return std::find(granted.begin(), granted.end(), role) != granted.end();
}

TableAccess TableAccess::FromJson(const json::Value& obj) {
  TableAccess access;
  for (std::size_t i = 0; i < kKeys.size(); ++i) access.roles[i] = StringItems(obj.Find(kKeys[i]));
  return access;
}

}  // namespace qb::model
