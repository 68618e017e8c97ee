#include <gtest/gtest.h>

#include <functional>

#include "designer/designer_form.hpp"
#include "designer_session.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;
using test::ReadBytes;
using Right = model::TableAccess::Right;
using Roles = std::vector<std::string>;

// Two tables; "customers" lets editor view and edit, viewer only view, and editor sees only its
// own records.
constexpr std::string_view kShop = R"({
  "security": {"signIn": true, "roles": ["editor", "viewer"]},
  "database": {"entities": [
    {"id": "customers", "fields": [{"name": "name"}], "access": {
      "view": ["editor", "viewer"], "add": [], "edit": ["editor"], "delete": [], "ownRecordsOnly": ["editor"]}},
    {"id": "orders", "fields": [{"name": "title"}]}]}})";

void Type(DesignerForm& form, Ctl box, const std::string& word) {
  form.TextChanged(box, "");
  for (std::size_t n = 1; n <= word.size(); ++n) form.TextChanged(box, word.substr(0, n));
}

const Roles& Granted(const DesignerForm& form, std::size_t table, Right right) {
  return (*form.Project().entities.at(table).access)[right];
}

// Scripts that end where they started leave the saved file byte for byte as it was.
TEST(DesignerAccessTest, EditsTakenBackSaveTheFileUnchanged) {
  const std::pair<const char*, std::function<void(DesignerForm&)>> cases[] = {
      {"looking only",
       [](DesignerForm& f) {
         f.TabChanged(kProjectTab);
         f.Selected(Ctl::lbRoles, 0);
         f.Selected(Ctl::lbTables, 1);
         f.AccessCellClicked(0, 0);
       }},
      {"sign-in on and off",
       [](DesignerForm& f) {
         f.Checked(Ctl::chkSignIn, true);
         f.Checked(Ctl::chkSignIn, false);
       }},
      {"a role added and removed",
       [](DesignerForm& f) {
         f.Clicked(Ctl::btnAddRole);
         f.Clicked(Ctl::btnRemoveRole);
       }},
      {"access limited and freed",
       [](DesignerForm& f) {
         f.Checked(Ctl::chkLimitAccess, true);
         f.Checked(Ctl::chkLimitAccess, false);
       }},
  };
  for (const auto& [what, script] : cases) {
    SCOPED_TRACE(what);
    DesignerSession s;
    const std::string path = s.Example("bookshop.json");
    // Two saves first: the first one moves the pages' added "components" key, the second keeps it.
    for (int i = 0; i < 2; ++i) s.Open(path).Clicked(Ctl::btnSave);
    const std::string before = ReadBytes(path);
    DesignerForm& form = s.Open(path);
    script(form);
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(before.find("\"security\""), std::string::npos);
    EXPECT_EQ(before.find("\"access\""), std::string::npos);
  }
}

TEST(DesignerAccessTest, SignInAndRolesAreWrittenOnceEdited) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.File("new.json"));
  EXPECT_FALSE(form.Control(Ctl::edRoleName).enabled);
  EXPECT_FALSE(form.Control(Ctl::btnRemoveRole).enabled);
  form.Checked(Ctl::chkSignIn, true);
  form.Clicked(Ctl::btnAddRole);
  EXPECT_EQ(form.Focus(), Ctl::edRoleName);
  EXPECT_EQ(form.Control(Ctl::edRoleName).text, "role_1");
  Type(form, Ctl::edRoleName, " editor ");
  form.Clicked(Ctl::btnAddRole);
  Type(form, Ctl::edRoleName, "viewer");
  ASSERT_TRUE(form.Project().security.has_value());
  EXPECT_TRUE(form.Project().security->sign_in);
  EXPECT_EQ(form.Project().security->roles, (Roles{"editor", "viewer"}));
  EXPECT_EQ(form.Control(Ctl::lbRoles).items,
            (Roles{"admin  -  every right", "editor", "viewer"}));
  form.Selected(Ctl::lbRoles, 0);
  EXPECT_EQ(form.Control(Ctl::edRoleName).text, "admin");
  EXPECT_FALSE(form.IsUsable(Ctl::edRoleName));
  form.Clicked(Ctl::btnRemoveRole);
  EXPECT_EQ(form.Project().security->roles.size(), 2u);

  form.TabChanged(kPreviewTab);
  EXPECT_NE(form.Control(Ctl::mmPreview).text.find("  \"security\": {\r\n    \"signIn\": true,\r\n    \"roles\": [\r\n"
                                                   "      \"editor\",\r\n      \"viewer\"\r\n    ]\r\n  }"),
            std::string::npos)
      << form.Control(Ctl::mmPreview).text;
  form.Clicked(Ctl::btnSave);
  model::Project saved;
  saved.LoadFromFile(form.FileName());
  EXPECT_TRUE(saved.RequiresSignIn());
  EXPECT_EQ(saved.security->roles, (Roles{"editor", "viewer"}));
}

TEST(DesignerAccessTest, TheGridShowsAndTogglesEachRoleAndRight) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("shop.json", kShop));
  EXPECT_TRUE(form.Control(Ctl::chkLimitAccess).checked);
  EXPECT_EQ(form.AccessRows(), (std::vector<AccessRow>{{"admin", {true, true, true, true, false}},
                                                        {"editor", {true, false, true, false, true}},
                                                        {"viewer", {true, false, false, false, false}}}));
  struct Case {
    int row, right;
    Right changed;
    Roles granted;  // then, of the right clicked
  };
  const Case cases[] = {
      {2, 1, model::TableAccess::kAdd, {"viewer"}},
      {1, 0, model::TableAccess::kView, {"viewer"}},
      {1, 0, model::TableAccess::kView, {"viewer", "editor"}},
      {1, 4, model::TableAccess::kOwnRecordsOnly, {}},
      {0, 0, model::TableAccess::kView, {"viewer", "editor"}},  // admin does not change
      {3, 0, model::TableAccess::kView, {"viewer", "editor"}},  // no such row
  };
  for (const Case& c : cases) {
    form.AccessCellClicked(c.row, c.right);
    EXPECT_EQ(Granted(form, 0, c.changed), c.granted) << c.row << " " << c.right;
  }

  // A table without a limit shows every role with every right, and takes no clicks.
  form.Selected(Ctl::lbTables, 1);
  EXPECT_FALSE(form.Control(Ctl::chkLimitAccess).checked);
  EXPECT_FALSE(form.IsUsable(Ctl::lvAccess));
  EXPECT_EQ(form.AccessRows().at(2), (AccessRow{"viewer", {true, true, true, true, false}}));
  form.AccessCellClicked(1, 0);
  EXPECT_FALSE(form.Project().entities[1].access.has_value());
  form.Checked(Ctl::chkLimitAccess, true);
  for (Right right : {model::TableAccess::kView, model::TableAccess::kAdd, model::TableAccess::kEdit,
                      model::TableAccess::kDelete})
    EXPECT_EQ(Granted(form, 1, right), (Roles{"editor", "viewer"}));
  EXPECT_TRUE(Granted(form, 1, model::TableAccess::kOwnRecordsOnly).empty());
  form.Checked(Ctl::chkLimitAccess, false);
  EXPECT_FALSE(form.Project().entities[1].access.has_value());
  EXPECT_TRUE(form.Modified());
}

// The access lists follow a role's renaming keystroke by keystroke (not another role the name
// passes through) and lose a removed role once the author agrees.
TEST(DesignerAccessTest, AccessListsFollowRenamedAndRemovedRoles) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("shop.json", kShop));
  form.Selected(Ctl::lbRoles, 1);
  Type(form, Ctl::edRoleName, "viewer_plus");
  EXPECT_EQ(form.Project().security->roles, (Roles{"viewer_plus", "viewer"}));
  EXPECT_EQ(Granted(form, 0, model::TableAccess::kView), (Roles{"viewer_plus", "viewer"}));
  EXPECT_EQ(Granted(form, 0, model::TableAccess::kOwnRecordsOnly), (Roles{"viewer_plus"}));
  EXPECT_EQ(form.Control(Ctl::lbRoles).items[1], "viewer_plus");
  EXPECT_EQ(form.AccessRows()[1].role, "viewer_plus");

  s.ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  form.Clicked(Ctl::btnRemoveRole);
  EXPECT_EQ(form.Project().security->roles.size(), 2u);
  form.Clicked(Ctl::btnRemoveRole);
  EXPECT_EQ(s.ui.LastMessage(),
            "Role \"viewer_plus\" has rights on these tables:\r\n  customers\r\n\r\nRemove the role and its rights?");
  EXPECT_EQ(form.Project().security->roles, (Roles{"viewer"}));
  EXPECT_EQ(Granted(form, 0, model::TableAccess::kView), (Roles{"viewer"}));
  EXPECT_TRUE(Granted(form, 0, model::TableAccess::kEdit).empty());
  EXPECT_TRUE(Granted(form, 0, model::TableAccess::kOwnRecordsOnly).empty());
  EXPECT_EQ(form.Control(Ctl::edRoleName).text, "viewer");
  EXPECT_EQ(form.AccessRows().size(), 2u);
  EXPECT_TRUE(s.ui.AllAnswersUsed());
}

}  // namespace
}  // namespace qb::designer
