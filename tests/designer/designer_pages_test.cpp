#include <gtest/gtest.h>

#include "designer/designer_form.hpp"
#include "designer_session.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;

std::vector<GridRow> DataRows(const DesignerForm& form) {
  return {form.Grid().rows.begin() + 1, form.Grid().rows.end()};
}

DesignerForm& OpenWithPages(DesignerSession& s, int count) {
  std::string pages;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    pages += std::string(i > 1 ? "," : "") + R"({"id": "p)" + n + R"(", "title": "P)" + n + R"(", "content": "c)" + n +
             R"(", "template": "help", "showInNavigation": false})";
  }
  DesignerForm& form = s.Open(s.dir.Write("p.json", R"({"pages": [)" + pages + "]}"));
  form.TabChanged(kPagesTab);
  return form;
}

TEST(DesignerPagesTest, ANewProjectShowsItsAboutPage) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  EXPECT_EQ(form.Grid().rows.at(0), kPagesGridHeader);
  EXPECT_EQ(DataRows(form), (std::vector<GridRow>{{"about", "About", "/about"}}));
  EXPECT_EQ(form.Control(Ctl::cbPageTemplate).SelectedText(), "standard");
  EXPECT_FALSE(form.Control(Ctl::chkPageNavigation).checked);

  form.Clicked(Ctl::btnAddPage);
  EXPECT_EQ(DataRows(form), (std::vector<GridRow>{{"about", "About", "/about"}, {"page2", "Page 2", "/page2"}}));
  EXPECT_EQ(form.Grid().row, 2);
  EXPECT_EQ(form.Grid().col, 0);
  EXPECT_EQ(form.Control(Ctl::cbPageTemplate).SelectedText(), "standard");
  EXPECT_EQ(form.Control(Ctl::edPageContent).text, "");
  EXPECT_TRUE(form.Control(Ctl::chkPageNavigation).checked);
  EXPECT_NE(form.Control(Ctl::lblStatus).text.find("2 page(s)"), std::string::npos);
  EXPECT_EQ(form.Project().pages.at(0).template_name, "standard");
  EXPECT_TRUE(form.Project().pages.at(1).show_in_navigation);
}

TEST(DesignerPagesTest, GridRowsBecomePagesWhenTheGridIsLeft) {
  struct Case {
    GridRow typed;
    std::size_t pages;
    std::string id, title, route;
  };
  const Case cases[] = {
      {{"faq", "", ""}, 1, "faq", "", "/faq"},
      {{"  ", " ", "\t"}, 0, "", "", ""},
      {{"", "Only a title", ""}, 1, "", "Only a title", ""},
      {{" x ", " X ", " /y "}, 1, "x", "X", "/y"},
  };
  for (const Case& c : cases) {
    DesignerSession s;
    DesignerForm& form = OpenWithPages(s, 0);
    for (int col = 0; col < 3; ++col) form.GridCellEdited(1, col, c.typed[static_cast<std::size_t>(col)]);
    form.GridLostFocus();
    ASSERT_EQ(form.Project().pages.size(), c.pages);
    if (c.pages == 0) continue;
    const model::Page& page = form.Project().pages[0];
    EXPECT_EQ(page.id, c.id);
    EXPECT_EQ(page.title, c.title);
    EXPECT_EQ(page.route, c.route);
    EXPECT_EQ(page.template_name, "standard");
    EXPECT_EQ(DataRows(form)[0], c.typed);
  }
}

// Leaving the grid writes it back; only a change the author made marks the project modified.
TEST(DesignerPagesTest, LeavingTheGridMarksOnlyRealChanges) {
  struct Case {
    const char* what;
    bool new_project;
    int row, col;
    const char* typed;  // nullptr: only clicked into the cell
    bool modified;
  };
  const Case cases[] = {
      {"click into a cell of a saved project", false, 1, 1, nullptr, false},
      {"click into the page without a template of a new project", true, 1, 0, nullptr, false},
      {"change a title", false, 2, 1, "Prices", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    DesignerForm& form = c.new_project ? s.Open("") : OpenWithPages(s, 2);
    form.TabChanged(kPagesTab);
    form.GridCellSelecting(c.row, c.col);
    if (c.typed != nullptr) form.GridCellEdited(c.row, c.col, c.typed);
    form.GridLostFocus();
    EXPECT_EQ(form.Modified(), c.modified);
  }
}

TEST(DesignerPagesTest, DeletingPagesMovesTheOthersUp) {
  DesignerSession s;
  DesignerForm& form = OpenWithPages(s, 3);
  form.Clicked(Ctl::btnDeletePage);
  EXPECT_EQ(DataRows(form), (std::vector<GridRow>{{"p2", "P2", "/p2"}, {"p3", "P3", "/p3"}}));
  EXPECT_EQ(form.Control(Ctl::edPageContent).text, "c2");
  EXPECT_EQ(form.Project().pages.size(), 2u);

  form.GridCellSelecting(2, 1);
  form.Clicked(Ctl::btnDeletePage);
  form.Clicked(Ctl::btnDeletePage);
  EXPECT_TRUE(form.Project().pages.empty());
  EXPECT_EQ(DataRows(form), (std::vector<GridRow>{{"", "", ""}}));
  EXPECT_NE(form.Control(Ctl::lblStatus).text.find("0 page(s)"), std::string::npos);
}

TEST(DesignerPagesTest, TheEditorWritesIntoThePageOfTheCurrentRow) {
  DesignerSession s;
  DesignerForm& form = OpenWithPages(s, 2);
  EXPECT_EQ(form.Control(Ctl::cbPageTemplate).SelectedText(), "help");
  form.TextChanged(Ctl::edPageContent, "Welcome");
  form.Selected(Ctl::cbPageTemplate, 4);
  form.GridCellSelecting(2, 0);
  EXPECT_EQ(form.Control(Ctl::edPageContent).text, "c2");
  form.Checked(Ctl::chkPageNavigation, true);
  form.TabChanged(kPreviewTab);
  const model::Page& first = form.Project().pages[0];
  EXPECT_EQ(first.content, "Welcome");
  EXPECT_EQ(first.template_name, "contact");
  EXPECT_TRUE(form.Project().pages[1].show_in_navigation);
  EXPECT_NE(form.Control(Ctl::mmPreview).text.find("\"content\": \"Welcome\""), std::string::npos);
  EXPECT_NE(form.Control(Ctl::mmPreview).text.find("\"template\": \"contact\""), std::string::npos);
}

// A row blanked between filled rows drops its own page; the pages below keep their content.
TEST(DesignerPagesTest, ABlankedRowDropsOnlyItsOwnPage) {
  DesignerSession s;
  DesignerForm& form = OpenWithPages(s, 3);
  form.GridCellSelecting(3, 0);
  for (int col = 0; col < 3; ++col) form.GridCellEdited(2, col, "");
  form.GridLostFocus();
  ASSERT_EQ(form.Project().pages.size(), 2u);
  EXPECT_EQ(form.Project().pages[1].id, "p3");
  EXPECT_EQ(form.Project().pages[1].content, "c3");
  EXPECT_EQ(DataRows(form), (std::vector<GridRow>{{"p1", "P1", "/p1"}, {"p3", "P3", "/p3"}}));
  EXPECT_EQ(form.Grid().row, 2);
  EXPECT_EQ(form.Control(Ctl::edPageContent).text, "c3");
  form.Clicked(Ctl::btnAddPage);
  EXPECT_EQ(form.Project().pages.at(2).id, "page3");
}

}  // namespace
}  // namespace qb::designer
