// Sign-in, roles and per-table rights: the optional "security" object of a project and the
// optional "access" object of a table.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/json_value.hpp"

namespace qb::model {

// The role that always exists, holds every right and alone manages accounts.
inline constexpr std::string_view kAdminRole = "admin";

struct Security {
  bool sign_in = false;
  std::vector<std::string> roles;  // as written; "admin" may be listed

  // The project's roles with "admin" first, each once.
  std::vector<std::string> AllRoles() const;

  static Security FromJson(const json::Value& obj);
};

// The roles granted each right on one table. A right whose list is missing from the file is
// granted to no role but admin.
struct TableAccess {
  enum Right { kView, kAdd, kEdit, kDelete, kOwnRecordsOnly };
  static constexpr std::array<std::string_view, 5> kKeys = {"view", "add", "edit", "delete", "ownRecordsOnly"};

  std::array<std::vector<std::string>, 5> roles;

  std::vector<std::string>& operator[](Right right) { return roles[right]; }
  const std::vector<std::string>& operator[](Right right) const { return roles[right]; }
  bool Grants(Right right, std::string_view role) const;

  static TableAccess FromJson(const json::Value& obj);
};

// The texts of an array; items of other kinds are skipped. Empty for anything but an array.
std::vector<std::string> StringItems(const json::Value* array);

}  // namespace qb::model
