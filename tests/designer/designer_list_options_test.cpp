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

// ---- Relations: detail page, full-text search, index, list on the parent's page, deletion rule ----

// Table "authors" (name) and table "books" (title: string, author: a lookup of authors); the
// members are spliced into authors, books' title and its author field.
std::string RelationsFile(const std::string& authors, const std::string& title, const std::string& author) {
  return R"({"database": {"entities": [{"id": "authors")" + authors + R"(, "fields": [{"name": "name"}]}, )" +
         R"({"id": "books", "fields": [{"name": "title")" + title +
         R"(}, {"name": "author", "type": "lookup", "lookup": {"entity": "authors"})" + author + "}]}]}}";
}

// The project file's value of a control of authors, of books' title (Index) or of its author, as
// JSON text; nullopt for no key.
std::optional<std::string> RelationKey(const DesignerForm& form, Ctl control) {
  const auto text = [](const std::optional<bool>& key) {
    return key ? std::optional<std::string>(*key ? "true" : "false") : std::nullopt;
  };
  const model::Entity& authors = form.Project().entities.at(0);
  const model::Field& title = form.Project().entities.at(1).fields.at(0);
  const model::Field& author = form.Project().entities.at(1).fields.at(1);
  switch (control) {
    case Ctl::chkDetailPage: return text(authors.detail_page);
    case Ctl::chkFullTextSearch: return text(authors.full_text_search);
    case Ctl::chkIndex: return text(title.index);
    case Ctl::chkListOnParent: return text(author.list_on_parent);
    default: return author.on_delete ? std::optional("\"" + *author.on_delete + "\"") : std::nullopt;
  }
}

// Shows the table or field the control belongs to.
void ShowOwner(DesignerForm& form, Ctl control) {
  if (control == Ctl::chkDetailPage || control == Ctl::chkFullTextSearch) return;
  form.Selected(Ctl::lbTables, 1);
  if (control != Ctl::chkIndex) form.Selected(Ctl::lvFields, 1);
}

// The controls show the file's keys; every box ticked and cleared again (or cleared and ticked
// again) and the rule list left as it was save the file byte for byte as it was.
TEST(DesignerRelationsTest, OpenShowsTheKeysAndControlsTakenBackSaveTheFileUnchanged) {
  struct Case {
    const char* what;
    std::string authors, title, author;
    bool detail_page, full_text_search, index, list_on_parent;
    int rule;  // the entry the rule list shows
  };
  const Case cases[] = {
      {"no keys", "", "", "", false, false, false, false, 0},
      {"switched on", R"(, "detailPage": true, "fullTextSearch": true)", R"(, "index": true)",
       R"(, "listOnParent": true, "onDelete": "cascade")", true, true, true, true, 2},
      {"restrict", "", "", R"(, "onDelete": "restrict")", false, false, false, false, 0},
      {"setNull", "", "", R"(, "onDelete": "setNull")", false, false, false, false, 1},
      // The design rules report these; the controls show nothing and the keys stay as they are.
      {"index on long text, unknown rule", "", R"(, "type": "text", "index": true)", R"(, "onDelete": "later")",
       false, false, false, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    const std::string path = Canonical(s, RelationsFile(c.authors, c.title, c.author));
    const std::string before = ReadBytes(path);

    DesignerForm& form = s.Open(path);
    EXPECT_EQ(form.Control(Ctl::chkDetailPage).checked, c.detail_page);
    EXPECT_EQ(form.Control(Ctl::chkFullTextSearch).checked, c.full_text_search);
    Toggle(form, Ctl::chkDetailPage);
    Toggle(form, Ctl::chkFullTextSearch);
    form.Selected(Ctl::lbTables, 1);
    EXPECT_EQ(form.Control(Ctl::chkIndex).checked, c.index);
    EXPECT_FALSE(form.IsUsable(Ctl::chkListOnParent) || form.IsUsable(Ctl::cbOnDelete));
    Toggle(form, Ctl::chkIndex);
    form.Selected(Ctl::lvFields, 1);
    EXPECT_EQ(form.Control(Ctl::chkListOnParent).checked, c.list_on_parent);
    EXPECT_EQ(form.Control(Ctl::cbOnDelete).selected, c.rule);
    EXPECT_EQ(form.Control(Ctl::cbOnDelete).items,
              (std::vector<std::string>{"Refuse", "Clear the link", "Delete these too"}));
    EXPECT_TRUE(form.IsUsable(Ctl::chkListOnParent) && form.IsUsable(Ctl::cbOnDelete));
    Toggle(form, Ctl::chkListOnParent);
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), before);
  }
}

// A changed control writes its key at once, into the preview and the saved file; a cleared box
// and "Refuse" take the key away, so a file without it is saved as it was.
TEST(DesignerRelationsTest, AChangedControlWritesItsKey) {
  struct Case {
    const char* what;
    std::string authors, author;
    Ctl control;
    std::vector<int> choices;  // a box's ticks (1) and clears (0), or the rule list's entries
    std::optional<std::string> written;
    std::string preview;  // what the preview holds with the key, or "" when nothing is written
  };
  const std::string kAuthors = "\r\n        ],\r\n        \"";
  const std::string kField = "\"help\": \"\",\r\n            \"";
  const Case cases[] = {
      {"detail page ticked", "", "", Ctl::chkDetailPage, {1}, "true", kAuthors + "detailPage\": true\r\n      },"},
      {"full-text search ticked", "", "", Ctl::chkFullTextSearch, {1}, "true",
       kAuthors + "fullTextSearch\": true\r\n      },"},
      {"detail page false, ticked and cleared", R"(, "detailPage": false)", "", Ctl::chkDetailPage, {1, 0},
       std::nullopt, ""},
      {"index ticked", "", "", Ctl::chkIndex, {1}, "true", kField + "index\": true\r\n          },\r\n"},
      {"list on the parent's page ticked", "", "", Ctl::chkListOnParent, {1}, "true",
       kField + "listOnParent\": true\r\n          }\r\n        ]"},
      {"clear the link", "", "", Ctl::cbOnDelete, {1}, "\"setNull\"",
       kField + "onDelete\": \"setNull\"\r\n          }\r\n        ]"},
      {"delete these too", "", R"(, "listOnParent": true)", Ctl::cbOnDelete, {2}, "\"cascade\"",
       kField + "listOnParent\": true,\r\n            \"onDelete\": \"cascade\"\r\n          }"},
      {"cascade in the file, refuse", "", R"(, "onDelete": "cascade")", Ctl::cbOnDelete, {0}, std::nullopt, ""},
      {"delete these too, then refuse", "", "", Ctl::cbOnDelete, {2, 0}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    const std::string path = Canonical(s, RelationsFile(c.authors, "", c.author));
    const std::string before = ReadBytes(path);
    DesignerForm& form = s.Open(path);
    ShowOwner(form, c.control);
    for (int choice : c.choices) {
      if (c.control == Ctl::cbOnDelete)
        form.Selected(c.control, choice);
      else
        form.Checked(c.control, choice == 1);
    }
    EXPECT_EQ(RelationKey(form, c.control), c.written);
    EXPECT_TRUE(form.Modified());
    form.TabChanged(kPreviewTab);
    const std::string& preview = form.Control(Ctl::mmPreview).text;
    if (c.preview.empty()) {
      for (const char* key : {"\"detailPage\"", "\"index\"", "\"onDelete\""})
        EXPECT_EQ(preview.find(key), std::string::npos) << preview;
    } else {
      EXPECT_NE(preview.find(c.preview), std::string::npos) << preview;
    }
    form.Clicked(Ctl::btnSave);
    EXPECT_EQ(ReadBytes(path), preview);
    if (!c.written && c.authors.empty() && c.author.empty()) {
      EXPECT_EQ(ReadBytes(path), before);
    }
  }
}

// For every type given to both of books' fields, with their keys set before: the Index box is open
// exactly where the design rules accept an index, the relation controls only to lookups; a type
// the rules refuse a key for drops it.
TEST(DesignerRelationsTest, TheControlsFollowTheTypesTheRulesAccept) {
  int index_open = 0, relation_open = 0;
  for (std::size_t type = 0; type < model::kFieldTypeCount; ++type) {
    SCOPED_TRACE(model::kFieldTypeKeys[type]);
    DesignerSession s;
    DesignerForm& form = s.Open(s.dir.Write("books.json", RelationsFile(R"(, "detailPage": true)", "", "")));
    form.Selected(Ctl::lbTables, 1);
    form.Checked(Ctl::chkIndex, true);
    form.Selected(Ctl::cbFieldType, static_cast<int>(type));
    form.Selected(Ctl::lvFields, 1);
    form.Checked(Ctl::chkListOnParent, true);
    form.Selected(Ctl::cbOnDelete, 2);
    form.Selected(Ctl::cbFieldType, static_cast<int>(type));
    const bool index = form.IsUsable(Ctl::chkIndex);
    const bool relation = form.IsUsable(Ctl::chkListOnParent);
    index_open += index ? 1 : 0;
    relation_open += relation ? 1 : 0;
    for (Ctl id : {Ctl::chkListOnParent, Ctl::cbOnDelete}) {
      EXPECT_EQ(form.Control(id).enabled, relation);
      EXPECT_EQ(form.Control(id).visible, relation);
    }
    EXPECT_EQ(form.Control(Ctl::chkListOnParent).checked, relation);
    EXPECT_EQ(form.Control(Ctl::cbOnDelete).selected, relation ? 2 : -1);
    const model::Field& title = form.Project().entities[1].fields[0];
    const model::Field& author = form.Project().entities[1].fields[1];
    EXPECT_EQ(title.index, index ? std::optional(true) : std::nullopt);
    EXPECT_EQ(author.list_on_parent, relation ? std::optional(true) : std::nullopt);
    EXPECT_EQ(author.on_delete, relation ? std::optional<std::string>("cascade") : std::nullopt);

    model::Project project = form.Project();
    model::Field& field = project.entities[1].fields[1];
    field.index = true;
    field.list_on_parent = true;
    field.on_delete = "cascade";
    std::vector<std::string> issues;
    model::Validate(project, issues);
    const auto refused = [&](const std::string& key) {
      const std::string start = "Table \"books\", field \"author\": \"" + key + "\" ";
      return std::any_of(issues.begin(), issues.end(), [&](const std::string& i) { return i.starts_with(start); });
    };
    EXPECT_EQ(refused("index"), !index);
    EXPECT_EQ(refused("listOnParent"), !relation);
    EXPECT_EQ(refused("onDelete"), !relation);
  }
  EXPECT_EQ(index_open, static_cast<int>(model::kFieldTypeCount) - 2);
  EXPECT_EQ(relation_open, 1);
}

}  // namespace
}  // namespace qb::designer
