// The action properties dialog's behaviour: one row per parameter with its edit, list and
// buttons, the host's SDK dialogs, and the texts that go back to the host on OK.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "designer/action_editor_tables.hpp"
#include "designer/control_state.hpp"
#include "designer/designer_form.hpp"
#include "designer/ui_port.hpp"

namespace qb::designer {

enum class RowButton { Browse, FileSelector, FileOptions, Design, VariableSelector, ChooseColour };

struct RowButtonSpec {
  RowButton kind;
  std::string caption;
  int left;
  int width;
  std::string hint;
};

struct EditorRow {
  std::string caption;
  ControlState edit;  // text, visible, hint
  int top = 0;        // of the row's label
  int edit_width = 490;
  std::optional<ControlState> combo;  // the preset and layout lists of the CRUD action
  std::vector<RowButtonSpec> buttons;
};

// Runs the designer on a path and hands the saved path back; false when it closed otherwise.
using DesignerLauncher = std::function<bool(std::string& path)>;

class ActionEditor {
 public:
  static constexpr int kClientWidth = 720;

  // existing holds the current parameter text of each row (empty when the host has none).
  ActionEditor(UiPort& ui, int action_id, const std::vector<std::string>& existing, DesignerLauncher designer);

  int ActionId() const { return action_id_; }
  std::string_view Title() const { return ActionEditorTitle(action_id_); }
  int ClientHeight() const { return 58 * static_cast<int>(rows_.size()) + 112; }
  const std::vector<EditorRow>& Rows() const { return rows_; }
  ModalResult Result() const { return result_; }
  bool Closed() const { return result_ != ModalResult::None; }

  // Events from the user.
  void TextChanged(int row, std::string text);
  void ComboChange(int row, int index);
  void ButtonClick(int row, RowButton button);
  void PublicationClick();
  void EmbeddedFilesClick();
  void OkClick() { result_ = ModalResult::Ok; }
  void CancelClick() { result_ = ModalResult::Cancel; }

  // The row texts to store in the host's slots: present only when the dialog closed with OK.
  std::optional<std::vector<std::string>> SaveParams() const;

 private:
  void BuildRow(int i, const std::vector<std::string>& existing);
  void BrowseClick(int row);
  void HostFileDialogClick(int row, int interface_number);
  void DesignClick(int row);
  void VariableSelectorClick(int row);
  void ChooseColourClick(int row);
  std::string& EditText(int row) { return rows_[static_cast<std::size_t>(row)].edit.text; }

  UiPort& ui_;
  int action_id_;
  DesignerLauncher designer_;
  std::vector<EditorRow> rows_;
  ModalResult result_ = ModalResult::None;
};

// "#RRGGBB" (upper-case digits) of a colour, and the colour of a "#rrggbb" text.
std::string ColourText(Rgb colour);
std::optional<Rgb> ParseColourText(std::string_view text);

}  // namespace qb::designer
