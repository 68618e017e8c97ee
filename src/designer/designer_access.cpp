// Sign-in and roles on the project page, and each table's rights by role on the tables page.
// The project's "security" and a table's "access" exist only once the author edits them.
#include <algorithm>
#include <utility>

#include "core/utf8.hpp"
#include "designer/designer_form.hpp"
#include "designer/designer_texts.hpp"
#include "designer/loading_scope.hpp"

namespace qb::designer {

const std::array<std::string_view, kRightCount> kRightCaptions = {"View", "Add", "Edit", "Delete",
                                                                  "Own records only"};

namespace {

using model::TableAccess;

bool Contains(const std::vector<std::string>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

// What every role may do on a table without an access limit, and admin everywhere.
constexpr std::array<bool, kRightCount> kEveryRight = {true, true, true, true, false};

// The roles a new access limit grants every right but "own records only": the listed ones, admin
// left out since it needs no listing.
std::vector<std::string> ListedRoles(const model::Project& project) {
  std::vector<std::string> roles;
  if (project.security)
    for (const std::string& role : project.security->AllRoles())
      if (role != model::kAdminRole) roles.push_back(role);
  return roles;
}

}  // namespace

model::Security& DesignerForm::EditedSecurity() {
  if (!project_.security) project_.security.emplace();
  return *project_.security;
}

// A security object that says nothing more than its absence goes, so that undoing the edits by
// hand leaves the file as it was.
void DesignerForm::DropEmptySecurity() {
  if (project_.security && !project_.security->sign_in && project_.security->roles.empty()) project_.security.reset();
}

// ---- Project page: sign-in and roles ----

void DesignerForm::RefreshRoleList(int select_index) {
  {
    LoadingScope loading(loading_);
    ControlState& list = Mut(Ctl::lbRoles);
    list.items = {std::string(texts::kAdminRoleEntry)};
    if (project_.security)
      for (const std::string& role : project_.security->roles) list.items.push_back(role);
    list.selected = std::clamp(select_index, 0, static_cast<int>(list.items.size()) - 1);
  }
  LoadRoleEditor();
}

// Entry 0 is admin, which is neither renamed nor removed; entry i is the listed role i - 1.
void DesignerForm::LoadRoleEditor() {
  LoadingScope loading(loading_);
  const int selected = Control(Ctl::lbRoles).selected;
  const bool listed = selected > 0;
  Mut(Ctl::edRoleName).text =
      listed ? project_.security->roles[static_cast<std::size_t>(selected - 1)] : std::string(model::kAdminRole);
  Mut(Ctl::edRoleName).enabled = listed;
  Mut(Ctl::btnRemoveRole).enabled = listed;
}

void DesignerForm::SignInChanged() {
  EditedSecurity().sign_in = Control(Ctl::chkSignIn).checked;
  DropEmptySecurity();
  MarkModified();
}

// The role's mentions in the tables' access lists follow each keystroke, as lookups follow a
// table's renaming; when another listed role has the old name too, none follows.
void DesignerForm::RoleNameChanged() {
  const int selected = Control(Ctl::lbRoles).selected;
  if (loading_ || selected < 1 || !project_.security) return;
  std::vector<std::string>& roles = project_.security->roles;
  const auto index = static_cast<std::size_t>(selected - 1);
  const std::string new_name = Trim(Control(Ctl::edRoleName).text);
  FollowRenaming(new_name, [&](std::vector<std::string*>& references) {
    const std::string old_name = roles[index];
    references.push_back(&roles[index]);
    if (old_name.empty() || std::count(roles.begin(), roles.end(), old_name) > 1) return;
    for (model::Entity& table : project_.entities)
      if (table.access)
        for (std::vector<std::string>& granted : table.access->roles)
          for (std::string& role : granted)
            if (role == old_name) references.push_back(&role);
  });
  Mut(Ctl::lbRoles).items[static_cast<std::size_t>(selected)] = new_name;
  LoadAccessEditor();
  MarkModified();
}

void DesignerForm::AddRole() {
  model::Security& security = EditedSecurity();
  std::size_t n = security.roles.size() + 1;
  std::string name;
  do {
    name = "role_" + std::to_string(n++);
  } while (Contains(security.roles, name));
  security.roles.push_back(name);
  RefreshRoleList(static_cast<int>(security.roles.size()));
  LoadAccessEditor();
  MarkModified();
  focus_ = Ctl::edRoleName;
  ++focus_requests_;
}

// Removes the selected role and, when no other entry has its name, its mentions in every table's
// access lists; asks first when a table grants it rights.
void DesignerForm::RemoveRole() {
  const int selected = Control(Ctl::lbRoles).selected;
  if (selected < 1 || !project_.security) return;
  std::vector<std::string>& roles = project_.security->roles;
  const auto index = static_cast<std::size_t>(selected - 1);
  const std::string name = roles[index];
  const bool last_of_its_name = std::count(roles.begin(), roles.end(), name) == 1;
  std::string tables;
  if (last_of_its_name)
    for (const model::Entity& t : project_.entities)
      if (t.access && std::any_of(t.access->roles.begin(), t.access->roles.end(),
                                  [&](const std::vector<std::string>& granted) { return Contains(granted, name); }))
        tables += "\r\n  " + t.id;
  if (!tables.empty()) {
    const std::string question = "Role \"" + name + "\" has rights on these tables:" + tables +
                                 "\r\n\r\nRemove the role and its rights?";
    if (ui_.ShowMessage(MessageKind::Warning, MessageButtons::YesNo, question) != MessageAnswer::Yes) return;
    for (model::Entity& t : project_.entities)
      if (t.access)
        for (std::vector<std::string>& granted : t.access->roles) std::erase(granted, name);
  }
  roles.erase(roles.begin() + selected - 1);
  DropEmptySecurity();
  RefreshRoleList(selected);
  LoadAccessEditor();
  MarkModified();
}

// ---- Tables page: access by role ----

void DesignerForm::LoadAccessEditor() {
  const model::Entity* t = CurrentEntity();
  const bool limited = t != nullptr && t->access.has_value();
  Mut(Ctl::chkLimitAccess).enabled = t != nullptr;
  Mut(Ctl::chkLimitAccess).checked = limited;
  Mut(Ctl::lvAccess).enabled = limited;
  access_rows_.clear();
  const std::vector<std::string> roles =
      project_.security ? project_.security->AllRoles() : std::vector<std::string>{std::string(model::kAdminRole)};
  for (const std::string& role : roles) {
    AccessRow& row = access_rows_.emplace_back(AccessRow{role, kEveryRight});
    if (limited && role != model::kAdminRole)
      for (std::size_t right = 0; right < kRightCount; ++right)
        row.granted[right] = t->access->Grants(static_cast<TableAccess::Right>(right), role);
  }
}

// Limiting starts from every role holding every right, so nothing changes until a box is cleared.
void DesignerForm::LimitAccessChanged() {
  model::Entity* t = CurrentEntity();
  if (loading_ || t == nullptr) return;
  if (Control(Ctl::chkLimitAccess).checked) {
    TableAccess access;
    const std::vector<std::string> roles = ListedRoles(project_);
    for (TableAccess::Right right : {TableAccess::kView, TableAccess::kAdd, TableAccess::kEdit, TableAccess::kDelete})
      access[right] = roles;
    t->access = std::move(access);
  } else {
    t->access.reset();
  }
  LoadAccessEditor();
  MarkModified();
}

// Admin's row (0) holds every right and does not change.
void DesignerForm::ToggleAccess(int row, int right) {
  model::Entity* t = CurrentEntity();
  if (t == nullptr || !t->access || row < 1 || row >= static_cast<int>(access_rows_.size()) || right < 0 ||
      right >= static_cast<int>(kRightCount))
    return;
  const std::string role = access_rows_[static_cast<std::size_t>(row)].role;
  std::vector<std::string>& granted = (*t->access)[static_cast<TableAccess::Right>(right)];
  if (Contains(granted, role))
    std::erase(granted, role);
  else
    granted.push_back(role);
  LoadAccessEditor();
  MarkModified();
}

}  // namespace qb::designer
