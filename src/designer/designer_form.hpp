// The designer window's behaviour: it owns the project document and the state of every control,
// and implements every handler. A view mirrors the state and forwards the user's events.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "designer/control_state.hpp"
#include "designer/designer_controls.hpp"
#include "designer/ui_port.hpp"
#include "model/project.hpp"

namespace qb::designer {

enum class ModalResult { None, Ok, Cancel };

enum DesignerTab { kProjectTab = 0, kTablesTab = 1, kPagesTab = 2, kPreviewTab = 3 };

inline constexpr std::size_t kFieldColumnCount = 9;
using FieldRow = std::array<std::string, kFieldColumnCount>;
inline constexpr std::size_t kPageColumnCount = 3;
using GridRow = std::array<std::string, kPageColumnCount>;

// The pages grid: row 0 is the fixed header, data rows follow.
struct PagesGrid {
  std::vector<GridRow> rows;
  int row = 1;  // current cell
  int col = 0;
  int RowCount() const { return static_cast<int>(rows.size()); }
};

// One row of a table's access editor: a role and the rights it holds, in TableAccess::Right order.
// Row 0 is admin, which holds every right and cannot be changed.
inline constexpr std::size_t kRightCount = model::TableAccess::kKeys.size();
struct AccessRow {
  std::string role;
  std::array<bool, kRightCount> granted{};
  bool operator==(const AccessRow&) const = default;
};

// The fixed lists of the project page: stored keys and what the lists show.
extern const std::array<std::string_view, 3> kEngineKeys;
extern const std::array<std::string_view, 3> kEngineCaptions;
extern const std::array<std::string_view, 3> kCssKeys;
extern const std::array<std::string_view, 7> kPageTemplates;
extern const std::array<std::string_view, kFieldColumnCount> kFieldColumnCaptions;
extern const GridRow kPagesGridHeader;
extern const std::array<std::string_view, kRightCount> kRightCaptions;
// A lookup's rule for the deletion of the record it links to: stored keys and what the list shows.
extern const std::array<std::string_view, 3> kOnDeleteKeys;
extern const std::array<std::string_view, 3> kOnDeleteCaptions;

// Index of value in a three-entry list ignoring ASCII case, 0 when absent.
int IndexOfText(const std::array<std::string_view, 3>& list, std::string_view value);

class DesignerForm {
 public:
  // Opens file_name (trimmed by the caller) or starts a new project.
  DesignerForm(UiPort& ui, std::string file_name, bool allow_generate);

  // State, as a view mirrors it.
  const ControlState& Control(Ctl id) const { return controls_[static_cast<std::size_t>(id)]; }
  const std::string& Caption() const { return caption_; }
  int ActiveTab() const { return active_tab_; }
  const std::vector<FieldRow>& FieldRows() const { return field_rows_; }
  const PagesGrid& Grid() const { return grid_; }
  const std::vector<AccessRow>& AccessRows() const { return access_rows_; }
  // The control a view focuses, with its whole text selected, once per request.
  Ctl Focus() const { return focus_; }
  // Counts the requests to move the focus, so a view applies each one once.
  int FocusRequests() const { return focus_requests_; }
  // Enabled and visible, inside an enabled group: the user can reach it.
  bool IsUsable(Ctl id) const;
  const model::Project& Project() const { return project_; }
  const std::string& FileName() const { return file_name_; }
  bool Modified() const { return modified_; }
  bool AllowGenerate() const { return allow_generate_; }
  ModalResult Result() const { return result_; }
  bool Closed() const { return closed_; }

  // Events from the user. Each runs its handler; an error inside is shown in an error box and
  // leaves the window open.
  void TextChanged(Ctl id, std::string text);
  void Checked(Ctl id, bool checked);
  void Selected(Ctl id, int index);
  void Clicked(Ctl id);
  void TabChanged(int index);
  void GridCellEdited(int row, int col, std::string text);
  void GridCellSelecting(int row, int col);
  void GridLostFocus();
  // A click on the box of one right of one role in the access editor.
  void AccessCellClicked(int row, int right);
  // The window's close box (and Alt+F4, Escape).
  void CloseRequested();

  // Operations shared across the tabs.
  void MarkModified();
  void UpdateStatus();
  void RefreshAll();
  bool SaveProject(bool ask_for_name);
  std::string ResolveOutputFolder() const;
  bool CheckDesign(std::string& problems);

  // Tables and fields.
  void RefreshTableList(int select_index);
  void LoadTableEditor();
  void FillDisplayFieldCombo();
  void TableSettingChanged(Ctl sender);
  void RefreshFieldList(int select_index);
  void FillFieldItem(FieldRow& row, const model::Field& f) const;
  void LoadFieldEditor();
  void FillLookupFieldCombo();
  void UpdateFieldEditorState();
  void FieldSettingChanged(Ctl sender);
  void FieldTypeChanged();
  std::string GuessLookupEntity(std::string_view field_name) const;

  // Pages.
  void LoadPagesGrid();
  void StorePagesGrid();
  void LoadPageEditor();
  void StorePageEditor();
  void PagesSelectCell(int row);

 private:
  // What is being renamed keystroke by keystroke: nothing, a table (its id or label typed) or a
  // field (its name or label typed); and the names elsewhere that follow it, found at the first
  // keystroke. Any other event ends the renaming, so the references stay valid while it lasts.
  enum class Renamed { Nothing, Table, Field, Role };
  struct Renaming {
    Renamed what = Renamed::Nothing;
    bool started = false;
    std::vector<std::string*> references;
  };

  ControlState& Mut(Ctl id) { return controls_[static_cast<std::size_t>(id)]; }
  // Runs an event's handler: an error inside is shown; an event other than typing into the names
  // of what is being renamed ends the renaming.
  template <typename Handler>
  void Guarded(Handler&& handler, Renamed renaming = Renamed::Nothing);
  static Renamed RenamedBy(Ctl id);

  // Project page and file commands.
  void BuildControls();
  void OpenInitialFile();
  void LoadProjectSettings();
  void ProjectSettingChanged();
  void UpdateConnectionFields();
  void ShipBootstrapChanged();
  void UpdateShipBootstrap();
  void BrowseOutputClick();
  void NewClick();
  void OpenClick();
  void RequestClose(ModalResult result);
  void ShowPreview();

  // Sign-in and roles (project page), access by role (tables page).
  model::Security& EditedSecurity();
  void DropEmptySecurity();
  void RefreshRoleList(int select_index);
  void LoadRoleEditor();
  void SignInChanged();
  void RoleNameChanged();
  void AddRole();
  void RemoveRole();
  void LoadAccessEditor();
  void LimitAccessChanged();
  void ToggleAccess(int row, int right);

  // Tables and fields.
  model::Entity* CurrentEntity();
  model::Field* CurrentField();
  void RenameLookupEntity(std::string_view old_id, std::string_view new_id);
  void RenameLookupField(model::Entity& t, std::string_view old_name, std::string_view new_name);
  // Sets the renaming's references to new_name; at its first keystroke collect finds them.
  template <typename Collect>
  void FollowRenaming(std::string_view new_name, Collect&& collect);
  void RefreshSelectedFieldRow();
  void AddTable();
  void DeleteTable();
  void MoveTable(int delta);
  void AddField();
  void DeleteField();
  void MoveField(int delta);

  // Pages.
  void FillPageEditor(int page_index);
  void PageEditorChanged();
  void AddPage();
  void DeletePage();

  // Bottom-bar commands that rest on the design check.
  void ValidateClick();
  void SaveAndCloseClick();
  void GenerateClick();
  bool FileHoldsDocument() const;

  UiPort& ui_;
  model::Project project_;
  Renaming renaming_;
  std::string file_name_;
  bool loading_ = false;
  bool modified_ = false;
  bool allow_generate_;
  bool assets_in_file_ = false;  // the project as opened or last saved holds target.assets
  std::array<ControlState, kControlCount> controls_;
  std::string caption_ = "Kettlebourne Database Designer";
  int active_tab_ = kProjectTab;
  std::vector<FieldRow> field_rows_;
  PagesGrid grid_;
  std::vector<AccessRow> access_rows_;
  Ctl focus_ = Ctl::Tabs;
  int focus_requests_ = 0;
  ModalResult result_ = ModalResult::None;
  bool closed_ = false;
};

template <typename Collect>
void DesignerForm::FollowRenaming(std::string_view new_name, Collect&& collect) {
  if (!renaming_.started) {
    renaming_.started = true;
    collect(renaming_.references);
  }
  for (std::string* reference : renaming_.references) *reference = new_name;
}

}  // namespace qb::designer
