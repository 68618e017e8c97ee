// The "Pages" tab: the pages grid, the page editor under it, adding and deleting pages.
#include <algorithm>
#include <utility>

#include "core/utf8.hpp"
#include "designer/designer_form.hpp"
#include "designer/loading_scope.hpp"

namespace qb::designer {

const std::array<std::string_view, 7> kPageTemplates = {"standard", "about",   "help", "services",
                                                        "contact",  "privacy", "blank"};
const GridRow kPagesGridHeader = {"Page ID (a-z, 0-9, -)", "Title", "Route"};

namespace {

constexpr std::string_view kStandardTemplate = "standard";

// Whether the grid and the page editor show the same pages; a page without a template shows the
// standard one.
bool ShowTheSame(const std::vector<model::Page>& a, const std::vector<model::Page>& b) {
  const auto shown_template = [](const model::Page& p) {
    return p.template_name.empty() ? kStandardTemplate : std::string_view(p.template_name);
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](const model::Page& x, const model::Page& y) {
    return x.id == y.id && x.title == y.title && x.route == y.route && shown_template(x) == shown_template(y) &&
           x.content == y.content && x.show_in_navigation == y.show_in_navigation;
  });
}

int TemplateIndex(std::string_view name) {
  const auto it = std::find(kPageTemplates.begin(), kPageTemplates.end(), name);
  return it == kPageTemplates.end() ? 0 : static_cast<int>(it - kPageTemplates.begin());
}

}  // namespace

void DesignerForm::LoadPagesGrid() {
  const std::size_t data_rows = std::max<std::size_t>(project_.pages.size(), 1);
  grid_.rows.assign(data_rows + 1, GridRow{});
  grid_.rows[0] = kPagesGridHeader;
  for (std::size_t i = 0; i < project_.pages.size(); ++i) {
    const model::Page& page = project_.pages[i];
    grid_.rows[i + 1] = {page.id, page.title, page.route};
  }
  grid_.row = std::clamp(grid_.row, 1, grid_.RowCount() - 1);
  grid_.col = std::clamp(grid_.col, 0, static_cast<int>(kPageColumnCount) - 1);
  LoadPageEditor();
}

// Row r holds page r - 1 since the last load; a blank row drops its page, and every other page
// keeps its own template, content and navigation flag. When a blank row sat between filled rows
// the grid is loaded again so that rows and pages line up once more.
void DesignerForm::StorePagesGrid() {
  std::vector<model::Page> pages;
  bool blank_seen = false, shifted = false;
  int current_row = 1;
  for (int r = 1; r < grid_.RowCount(); ++r) {
    const GridRow& cells = grid_.rows[static_cast<std::size_t>(r)];
    const std::string id = Trim(cells[0]), title = Trim(cells[1]), route = Trim(cells[2]);
    if (id.empty() && title.empty() && route.empty()) {
      blank_seen = true;
      continue;
    }
    shifted = shifted || blank_seen;
    const auto index = static_cast<std::size_t>(r - 1);
    model::Page page = index < project_.pages.size() ? std::move(project_.pages[index]) : model::Page{};
    page.id = id;
    page.title = title;
    page.route = route.empty() && !id.empty() ? "/" + id : route;
    if (page.template_name.empty()) page.template_name = std::string(kStandardTemplate);
    pages.push_back(std::move(page));
    if (r == grid_.row) current_row = static_cast<int>(pages.size());
  }
  project_.pages = std::move(pages);
  if (shifted) {
    grid_.row = current_row;
    LoadPagesGrid();
  }
}

void DesignerForm::FillPageEditor(int page_index) {
  LoadingScope loading(loading_);
  const bool exists = page_index >= 0 && page_index < static_cast<int>(project_.pages.size());
  const model::Page* page = exists ? &project_.pages[static_cast<std::size_t>(page_index)] : nullptr;
  Mut(Ctl::edPageContent).text = page ? page->content : "";
  ControlState& templates = Mut(Ctl::cbPageTemplate);
  templates.selected = page ? TemplateIndex(page->template_name) : 0;
  Mut(Ctl::chkPageNavigation).checked = page == nullptr || page->show_in_navigation;
}

void DesignerForm::LoadPageEditor() {
  if (loading_) return;
  FillPageEditor(grid_.row - 1);
}

void DesignerForm::StorePageEditor() {
  if (loading_) return;
  const int i = grid_.row - 1;
  if (i < 0 || i >= static_cast<int>(project_.pages.size())) return;
  model::Page& page = project_.pages[static_cast<std::size_t>(i)];
  page.content = Control(Ctl::edPageContent).text;
  const std::string chosen = Control(Ctl::cbPageTemplate).SelectedText();
  page.template_name = chosen.empty() ? std::string(kStandardTemplate) : chosen;
  page.show_in_navigation = Control(Ctl::chkPageNavigation).checked;
}

void DesignerForm::PagesSelectCell(int row) {
  StorePageEditor();
  FillPageEditor(row - 1);
}

void DesignerForm::PageEditorChanged() {
  StorePageEditor();
  MarkModified();
  UpdateStatus();
}

void DesignerForm::GridCellEdited(int row, int col, std::string text) {
  if (row < 1 || row >= grid_.RowCount() || col < 0 || col >= static_cast<int>(kPageColumnCount)) return;
  grid_.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
  StorePageEditor();
  MarkModified();
}

void DesignerForm::GridCellSelecting(int row, int col) {
  if (row < 1 || row >= grid_.RowCount() || col < 0 || col >= static_cast<int>(kPageColumnCount)) return;
  if (row != grid_.row) PagesSelectCell(row);
  grid_.row = row;
  grid_.col = col;
}

// Leaving the grid writes it back; only a page that changed marks the project modified.
void DesignerForm::GridLostFocus() {
  const std::vector<model::Page> before = project_.pages;
  StorePageEditor();
  StorePagesGrid();
  if (!ShowTheSame(before, project_.pages)) MarkModified();
  UpdateStatus();
}

void DesignerForm::AddPage() {
  StorePagesGrid();
  const std::size_t n = project_.pages.size();
  const std::string number = std::to_string(n + 1);
  grid_.rows.resize(n + 2);
  grid_.rows[n + 1] = {"page" + number, "Page " + number, "/page" + number};
  StorePagesGrid();
  if (n < project_.pages.size()) {
    model::Page& page = project_.pages[n];
    page.template_name = std::string(kStandardTemplate);
    page.content.clear();
    page.show_in_navigation = true;
  }
  PagesSelectCell(static_cast<int>(n) + 1);
  grid_.row = static_cast<int>(n) + 1;
  grid_.col = 0;
  MarkModified();
  UpdateStatus();
}

void DesignerForm::DeletePage() {
  const int y = grid_.row;
  if (y < 1 || y >= grid_.RowCount()) return;
  if (grid_.RowCount() < 3) grid_.rows[1] = GridRow{};
  else grid_.rows.erase(grid_.rows.begin() + y);
  if (y - 1 < static_cast<int>(project_.pages.size())) project_.pages.erase(project_.pages.begin() + (y - 1));
  grid_.row = std::min(y, grid_.RowCount() - 1);
  StorePagesGrid();
  MarkModified();
  UpdateStatus();
  FillPageEditor(grid_.row - 1);
}

}  // namespace qb::designer
