#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "designer/designer_form.hpp"
#include "designer_session.hpp"
#include "model/design_rules.hpp"
#include "model/field_types.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;
using test::ReadBytes;

// Table "books" (title: string, published: date) and table "loans"; the members are spliced into
// books, its title and its published field.
std::string ProjectFile(const std::string& table, const std::string& title, const std::string& published) {
  return R"({"database": {"entities": [{"id": "books")" + table + R"(, "fields": [{"name": "title")" + title +
         R"(}, {"name": "published", "type": "date")" + published +
         R"(}]}, {"id": "loans", "fields": [{"name": "due"}]}]}})";
}

// The file as the designer saves it: the first save moves members the file had in another order.
std::string Canonical(DesignerSession& s, const std::string& text) {
  const std::string path = s.dir.Write("books.json", text);
  for (int i = 0; i < 2; ++i) s.Open(path).Clicked(Ctl::btnSave);
  return path;
}

// The key a box of books, or of its published field, stands for.
std::optional<bool> KeyOf(const DesignerForm& form, Ctl box) {
  const model::Entity& books = form.Project().entities.at(0);
  if (box == Ctl::chkExportCsv) return books.export_csv;
  if (box == Ctl::chkImportCsv) return books.import_csv;
  return books.fields.at(1).filter;
}

void Toggle(DesignerForm& form, Ctl box) {
  const bool checked = form.Control(box).checked;
  form.Checked(box, !checked);
  form.Checked(box, checked);
}

// The boxes show the file's keys; every box ticked and cleared again (or cleared and ticked again)
// leaves the saved file byte for byte as it was.
TEST(DesignerListOptionsTest, OpenShowsTheKeysAndBoxesTakenBackSaveTheFileUnchanged) {
  struct Case {
    const char* what;
    std::string table, title, published;
    bool export_csv, import_csv, published_filter;
  };
  const Case cases[] = {
      {"no keys", "", "", "", false, false, false},
      {"switched on", R"(, "export": true, "import": true)", "", R"(, "filter": true)", true, true, true},
      {"export only", R"(, "export": true)", "", "", true, false, false},
      // The design rule reports it; the box stays closed and the key as it is.
      {"filter on a text field", "", R"(, "filter": true)", "", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    const std::string path = Canonical(s, ProjectFile(c.table, c.title, c.published));
    const std::string before = ReadBytes(path);

    DesignerForm& form = s.Open(path);
    EXPECT_EQ(form.Control(Ctl::chkExportCsv).checked, c.export_csv);
    EXPECT_EQ(form.Control(Ctl::chkImportCsv).checked, c.import_csv);
    EXPECT_TRUE(form.IsUsable(Ctl::chkExportCsv) && form.IsUsable(Ctl::chkImportCsv));
    Toggle(form, Ctl::chkExportCsv);
    Toggle(form, Ctl::chkImportCsv);
    EXPECT_FALSE(form.Control(Ctl::chkFilter).checked);
    EXPECT_FALSE(form.IsUsable(Ctl::chkFilter));
    Toggle(form, Ctl::chkFilter);
    form.Selected(Ctl::lvFields, 1);
    EXPECT_EQ(form.Control(Ctl::chkFilter).checked, c.published_filter);
    EXPECT_TRUE(form.IsUsable(Ctl::chkFilter));
    Toggle(form, Ctl::chkFilter);
    form.Selected(Ctl::lbTables, 1);
    EXPECT_FALSE(form.Control(Ctl::chkExportCsv).checked || form.Control(Ctl::chkImportCsv).checked);
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), before);
  }
}

// A changed box writes its key at once, into the preview and the saved file; a cleared box takes
// the key away, also where the file said false.
TEST(DesignerListOptionsTest, AChangedBoxWritesItsKey) {
  struct Case {
    const char* what;
    std::string table, published;
    Ctl box;
    const char* key;
    std::vector<bool> clicks;
    std::optional<bool> written;
    std::string preview;  // what the preview holds, or "" for no key
  };
  const std::string kTable = "\r\n        ],\r\n        \"";
  const Case cases[] = {
      {"export ticked", "", "", Ctl::chkExportCsv, "export", {true}, true, kTable + "export\": true\r\n      },"},
      {"import ticked", "", "", Ctl::chkImportCsv, "import", {true}, true, kTable + "import\": true\r\n      },"},
      {"both in the file, import cleared", R"(, "export": true, "import": true)", "", Ctl::chkImportCsv, "import",
       {false}, std::nullopt, kTable + "export\": true\r\n      },"},
      {"import false, ticked and cleared", R"(, "import": false)", "", Ctl::chkImportCsv, "import", {true, false},
       std::nullopt, ""},
      {"filter ticked", "", "", Ctl::chkFilter, "filter", {true}, true,
       "\"help\": \"\",\r\n            \"filter\": true\r\n          }\r\n        ]\r\n      },"},
      {"filter cleared", "", R"(, "filter": true)", Ctl::chkFilter, "filter", {false}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    const std::string path = Canonical(s, ProjectFile(c.table, "", c.published));
    DesignerForm& form = s.Open(path);
    if (c.box == Ctl::chkFilter) form.Selected(Ctl::lvFields, 1);
    for (bool click : c.clicks) form.Checked(c.box, click);
    EXPECT_EQ(KeyOf(form, c.box), c.written);
    EXPECT_TRUE(form.Modified());
    form.TabChanged(kPreviewTab);
    const std::string& preview = form.Control(Ctl::mmPreview).text;
    if (!c.written) {
      EXPECT_EQ(preview.find("\"" + std::string(c.key) + "\""), std::string::npos) << preview;
    }
    if (!c.preview.empty()) {
      EXPECT_NE(preview.find(c.preview), std::string::npos) << preview;
    }
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), preview);
  }
}

// The box is open exactly to the types the design rules accept a filter on.
TEST(DesignerListOptionsTest, TheFilterBoxIsOpenToTheTypesTheFilterBarOffers) {
  int open = 0;
  for (std::size_t type = 0; type < model::kFieldTypeCount; ++type) {
    SCOPED_TRACE(model::kFieldTypeKeys[type]);
    DesignerSession s;
    DesignerForm& form = s.Open(s.dir.Write("books.json", ProjectFile("", "", "")));
    form.Selected(Ctl::cbFieldType, static_cast<int>(type));
    const bool usable = form.IsUsable(Ctl::chkFilter);
    open += usable ? 1 : 0;
    EXPECT_FALSE(form.Control(Ctl::chkFilter).checked);
    form.Checked(Ctl::chkFilter, true);
    EXPECT_EQ(form.Project().entities[0].fields[0].filter, usable ? std::optional(true) : std::nullopt);

    model::Project project = form.Project();
    project.entities[0].fields[0].filter = true;
    std::vector<std::string> issues;
    model::Validate(project, issues);
    const std::string refused = "Table \"books\", field \"title\": \"filter\" is not supported for this type.";
    EXPECT_EQ(std::find(issues.begin(), issues.end(), refused) == issues.end(), usable);
  }
  EXPECT_EQ(open, 8);
}

// A type the filter bar cannot offer drops a ticked filter; a filter the file sets false stays.
TEST(DesignerListOptionsTest, ATypeWithoutTheFilterBarDropsTheFilter) {
  struct Step {
    const char* type;
    std::optional<bool> filter;
    bool checked, usable;
  };
  struct Case {
    const char* what;
    std::string published;
    bool tick;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"ticked", "", true,
       {{"integer", true, true, true}, {"string", std::nullopt, false, false}, {"date", std::nullopt, false, true}}},
      {"false in the file", R"(, "filter": false)", false,
       {{"text", false, false, false}, {"lookup", false, false, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    DesignerForm& form = s.Open(s.dir.Write("books.json", ProjectFile("", "", c.published)));
    form.Selected(Ctl::lvFields, 1);
    if (c.tick) form.Checked(Ctl::chkFilter, true);
    for (const Step& step : c.steps) {
      SCOPED_TRACE(step.type);
      form.Selected(Ctl::cbFieldType, model::FieldTypeIndex(step.type));
      EXPECT_EQ(form.Project().entities[0].fields[1].filter, step.filter);
      EXPECT_EQ(form.Control(Ctl::chkFilter).checked, step.checked);
      EXPECT_EQ(form.IsUsable(Ctl::chkFilter), step.usable);
    }
  }
}

}  // namespace
}  // namespace qb::designer
