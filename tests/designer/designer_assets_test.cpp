#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "designer/designer_form.hpp"
#include "designer_session.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;
using test::ReadBytes;

std::string ProjectFile(const std::string& css, const std::string& assets_member) {
  return R"({"project": {"id": "shop"}, "target": {"cssFramework": ")" + css + "\"" + assets_member +
         R"(}, "database": {"entities": [{"id": "books", "fields": [{"name": "title"}]}]}})";
}

// The check box shows the file's choice; the box and another setting changed and changed back
// leave the saved file byte for byte as it was.
TEST(DesignerAssetsTest, OpenShowsTheChoiceAndTakenBackChangesSaveTheFileUnchanged) {
  struct Case {
    const char* what;
    std::string css;
    std::string assets_member;
    bool checked;
    bool enabled;
  };
  const Case cases[] = {
      {"no key", "bootstrap5", "", false, true},
      {"local", "bootstrap5", R"(, "assets": "local")", true, true},
      {"cdn", "bootstrap5", R"(, "assets": "cdn")", false, true},
      {"another framework", "tailwind", R"(, "assets": "local")", true, false},
      {"plain CSS without the key", "plain-css", "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    const std::string path = s.dir.Write("shop.json", ProjectFile(c.css, c.assets_member));
    // Two saves first: the first one moves members the file had in another order.
    for (int i = 0; i < 2; ++i) s.Open(path).Clicked(Ctl::btnSave);
    const std::string before = ReadBytes(path);
    EXPECT_EQ(before.find("\"assets\"") != std::string::npos, !c.assets_member.empty());

    DesignerForm& form = s.Open(path);
    EXPECT_EQ(form.Control(Ctl::chkShipBootstrap).checked, c.checked);
    EXPECT_EQ(form.IsUsable(Ctl::chkShipBootstrap), c.enabled);
    form.TabChanged(kProjectTab);
    form.Checked(Ctl::chkShipBootstrap, !c.checked);
    EXPECT_EQ(form.Control(Ctl::chkShipBootstrap).checked, c.enabled ? !c.checked : c.checked);
    form.Checked(Ctl::chkShipBootstrap, c.checked);
    const std::string name = form.Control(Ctl::edProjectName).text;
    form.TextChanged(Ctl::edProjectName, name + " 2");
    form.TextChanged(Ctl::edProjectName, name);
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), before);
  }
}

TEST(DesignerAssetsTest, ACheckedOrClearedBoxWritesTheKey) {
  struct Case {
    const char* what;
    std::string assets_member;  // "-" starts a new project
    bool saved_checked_first;
    bool check;
    std::optional<std::string> written;
  };
  const Case cases[] = {
      {"no key, checked", "", false, true, "local"},
      {"no key, checked, saved, cleared", "", true, false, "cdn"},
      {"cdn, checked", R"(, "assets": "cdn")", false, true, "local"},
      {"local, cleared", R"(, "assets": "local")", false, false, "cdn"},
      {"new project, cleared", "-", false, false, "cdn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    const bool fresh = c.assets_member == "-";
    const std::string path =
        fresh ? s.dir.File("new.json") : s.dir.Write("shop.json", ProjectFile("bootstrap5", c.assets_member));
    DesignerForm& form = s.Open(path);
    EXPECT_EQ(form.Control(Ctl::chkShipBootstrap).checked, fresh || c.assets_member.find("local") != std::string::npos);
    if (c.saved_checked_first) {
      form.Checked(Ctl::chkShipBootstrap, true);
      form.Clicked(Ctl::btnSave);
    }
    form.Checked(Ctl::chkShipBootstrap, c.check);
    EXPECT_EQ(form.Project().assets, c.written);
    EXPECT_TRUE(form.Modified());
    form.TabChanged(kPreviewTab);
    const std::string& preview = form.Control(Ctl::mmPreview).text;
    EXPECT_NE(preview.find("\r\n    \"assets\": \"" + *c.written + "\"\r\n  },"), std::string::npos) << preview;
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), preview);
  }
}

// Only Bootstrap can be shipped: another framework disables the box and keeps the choice.
TEST(DesignerAssetsTest, TheFrameworkEnablesTheBox) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  form.TabChanged(kProjectTab);
  const std::pair<int, bool> steps[] = {{1, false}, {0, true}, {2, false}};
  for (const auto& [css, enabled] : steps) {
    form.Selected(Ctl::cbCSS, css);
    EXPECT_EQ(form.IsUsable(Ctl::chkShipBootstrap), enabled) << css;
    EXPECT_TRUE(form.Control(Ctl::chkShipBootstrap).checked) << css;
    EXPECT_EQ(form.Project().assets, "local") << css;
  }
}

}  // namespace
}  // namespace qb::designer
