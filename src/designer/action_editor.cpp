// The action properties dialog.
#include "designer/action_editor.hpp"

#include <exception>
#include <utility>

#include "core/utf8.hpp"

namespace qb::designer {
namespace {

constexpr int kCrudAction = 7;
constexpr std::string_view kJsonFilter = "JSON files (*.json)|*.json|All files (*.*)|*.*";
constexpr char kCr = '\r';

const std::vector<std::string> kPresets = {"studio", "midnight", "editorial", "campus"};
const std::vector<std::string> kLayouts = {"wide", "centered", "dashboard"};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The folder part of a path, with its trailing separator; empty without one.
std::string FolderPart(std::string_view path) {
  const std::size_t end = path.find_last_of("\\/:");
  return end == std::string_view::npos ? std::string() : std::string(path.substr(0, end + 1));
}

}  // namespace

std::string ColourText(Rgb colour) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "#";
  for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
    text += kHex[part >> 4];
    text += kHex[part & 0xF];
  }
  return text;
}

std::optional<Rgb> ParseColourText(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.size() != 7 || trimmed[0] != '#') return std::nullopt;
  std::uint8_t parts[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(trimmed[static_cast<std::size_t>(1 + 2 * i)]);
    const int low = HexDigit(trimmed[static_cast<std::size_t>(2 + 2 * i)]);
    if (high < 0 || low < 0) return std::nullopt;
    parts[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return Rgb{parts[0], parts[1], parts[2]};
}

ActionEditor::ActionEditor(UiPort& ui, int action_id, const std::vector<std::string>& existing,
                           DesignerLauncher designer)
    : ui_(ui), action_id_(action_id), designer_(std::move(designer)) {
  for (int i = 0; i < ActionParamCount(action_id); ++i) BuildRow(i, existing);
}

void ActionEditor::BuildRow(int i, const std::vector<std::string>& existing) {
  EditorRow& row = rows_.emplace_back();
  row.caption = std::string(ActionParamCaption(action_id_, i));
  row.top = 58 * i + 16;
  const auto index = static_cast<std::size_t>(i);
  row.edit.text = index < existing.size() ? existing[index] : "";
  if (row.edit.text.empty()) row.edit.text = std::string(ActionParamDefault(action_id_, i));

  if (action_id_ == kCrudAction && (i == 2 || i == 3)) {
    ControlState combo;
    combo.items = i == 2 ? kPresets : kLayouts;
    combo.hint = i == 2 ? "Choose the generated applications visual theme." : "Choose the main page width/layout.";
    int selected = -1, fallback = 0;
    for (std::size_t k = 0; k < combo.items.size(); ++k) {
      if (SameTextAscii(combo.items[k], row.edit.text) && selected < 0) selected = static_cast<int>(k);
      if (combo.items[k] == ActionParamDefault(action_id_, i)) fallback = static_cast<int>(k);
    }
    combo.selected = selected >= 0 ? selected : fallback;
    row.edit.text = combo.SelectedText();
    row.edit.visible = false;
    row.combo = std::move(combo);
  }

  const BrowseKind browse = ActionParamBrowseKind(action_id_, i);
  // The file buttons end 16 pixels inside the right edge, as OK and Cancel do.
  if (browse != BrowseKind::None) {
    row.edit_width = 354;
    row.buttons.push_back({RowButton::Browse, "Browse...", 380, 78, ""});
    if (browse == BrowseKind::OpenProject || browse == BrowseKind::SavePlan) {
      row.buttons.push_back({RowButton::FileSelector, "File Selector", 462, 88,
                             "Open the native VisualNEO Win file selector (SDK interface 15)."});
      row.buttons.push_back({RowButton::FileOptions, "File Options", 554, 94,
                             "Open the native VisualNEO Win advanced file options (SDK interface 16)."});
    }
    if (browse == BrowseKind::OpenProject)
      row.buttons.push_back({RowButton::Design, "Design", 652, 52, "Open the Quillbarrow project designer."});
  }
  if (IsVariableParam(action_id_, i)) {
    row.edit_width = 430;
    row.edit.hint = "Enter a VisualNEO variable name, e.g. [KTBResult], or use Variable Selector.";
    row.buttons.push_back({RowButton::VariableSelector, "Variable Selector", 456, 112,
                           "Display VisualNEO Win's Variable Selector dialog (SDK interface 14)."});
  }
  if (action_id_ == kCrudAction && i == 4) {
    row.edit_width = 430;
    row.buttons.push_back(
        {RowButton::ChooseColour, "Choose Colour...", 456, 112, "Choose the generated app accent colour."});
  }
}

void ActionEditor::TextChanged(int row, std::string text) {
  if (row >= 0 && row < static_cast<int>(rows_.size())) EditText(row) = std::move(text);
}

void ActionEditor::ComboChange(int row, int index) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  std::optional<ControlState>& combo = rows_[static_cast<std::size_t>(row)].combo;
  if (!combo || index < 0 || index >= static_cast<int>(combo->items.size())) return;
  combo->selected = index;
  EditText(row) = combo->SelectedText();
}

void ActionEditor::ButtonClick(int row, RowButton button) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  ShowingErrors(ui_, [&] {
    switch (button) {
      case RowButton::Browse: BrowseClick(row); break;
      case RowButton::FileSelector: HostFileDialogClick(row, 15); break;
      case RowButton::FileOptions: HostFileDialogClick(row, 16); break;
      case RowButton::Design: DesignClick(row); break;
      case RowButton::VariableSelector: VariableSelectorClick(row); break;
      case RowButton::ChooseColour: ChooseColourClick(row); break;
    }
  });
}

void ActionEditor::BrowseClick(int row) {
  std::optional<std::string> chosen;
  switch (ActionParamBrowseKind(action_id_, row)) {
    case BrowseKind::OpenProject:
      chosen = ui_.OpenFile({"Select Quillbarrow project JSON", "JSON project files (*.json)|*.json|All files (*.*)|*.*",
                             "json", EditText(row), false, false});
      break;
    case BrowseKind::SavePlan:
      chosen = ui_.SaveFile({"Save generation plan", "JSON plan files (*.json)|*.json|All files (*.*)|*.*", "json",
                             EditText(row), true, true});
      break;
    case BrowseKind::ChooseFolder:
      chosen = ui_.PickFolder("Select output directory", EditText(row));
      break;
    case BrowseKind::None:
      break;
  }
  if (chosen) EditText(row) = *chosen;
}

void ActionEditor::HostFileDialogClick(int row, int interface_number) {
  const std::string& text = EditText(row);
  const std::string folder = FolderPart(text);
  const std::string request =
      interface_number == 15
          ? "Select a Quillbarrow project or output file" + std::string(1, kCr) + text + kCr + folder + kCr +
                std::string(kJsonFilter) + kCr + "1"
          : text + kCr + folder + kCr + std::string(kJsonFilter) + kCr + "True" + kCr + "True";
  const HostAnswer answer = ui_.CallHostInterface(interface_number, request);
  if (answer.ok && !answer.text.empty()) EditText(row) = answer.text;
}

void ActionEditor::DesignClick(int row) {
  std::string path = EditText(row);
  if (designer_ && designer_(path)) EditText(row) = path;
}

void ActionEditor::VariableSelectorClick(int row) {
  if (!ui_.HasHostInterfaces()) {
    ui_.ShowMessage(MessageKind::Warning, MessageButtons::Ok, "VisualNEO Win interface is not available.");
    return;
  }
  const HostAnswer answer = ui_.CallHostInterface(14, "");
  if (answer.ok && !answer.text.empty()) EditText(row) = answer.text;
}

void ActionEditor::ChooseColourClick(int row) {
  if (const std::optional<Rgb> chosen = ui_.ChooseColour(ParseColourText(EditText(row))))
    EditText(row) = ColourText(*chosen);
}

void ActionEditor::PublicationClick() {
  ShowingErrors(ui_, [&] {
    const HostAnswer answer = ui_.CallHostInterface(12, "");
    if (answer.ok && !answer.text.empty())
      ui_.ShowMessage(MessageKind::Information, MessageButtons::Ok, "Current VisualNEO publication:\r\n" + answer.text);
    else
      ui_.ShowMessage(MessageKind::Warning, MessageButtons::Ok, "VisualNEO did not return a publication path.");
  });
}

void ActionEditor::EmbeddedFilesClick() {
  ShowingErrors(ui_, [&] {
    if (!ui_.CallHostInterface(13, "").ok)
      ui_.ShowMessage(MessageKind::Warning, MessageButtons::Ok, "VisualNEO Embedded Files dialog could not be opened.");
  });
}

std::optional<std::vector<std::string>> ActionEditor::SaveParams() const {
  if (result_ != ModalResult::Ok) return std::nullopt;
  std::vector<std::string> texts;
  for (const EditorRow& row : rows_) texts.push_back(row.edit.text);
  return texts;
}

}  // namespace qb::designer
