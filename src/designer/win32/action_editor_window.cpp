// The action properties dialog on Win32: it mirrors the controller and forwards events.
#include "designer/win32/action_editor_window.hpp"

#include <commctrl.h>

#include "designer/win32/control_ids.hpp"
#include "designer/win32/wide_text.hpp"
#include "designer/win32/window_kit.hpp"

namespace qb::designer::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillbarrowActionEditor";

class ActionEditorWindow {
 public:
  ActionEditorWindow(ActionEditor& editor, Win32UiPort& ui) : editor_(editor), ui_(ui) {}

  void Run() {
    RegisterViewClass(kClassName, &ActionEditorWindow::Procedure);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, scale_(ActionEditor::kClientWidth), scale_(editor_.ClientHeight())};
    AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    window_ = CreateWindowExW(ex_style, kClassName, Wide(editor_.Title()).c_str(), style,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                              width, height, nullptr, nullptr, ModuleInstance(), this);
    ui_.SetOwner(window_);
    RunModal(window_, [this] { return editor_.Closed(); });
    ui_.SetOwner(nullptr);
    DeleteObject(font_);
  }

  // Called by AttachedView when the window is created.
  void Attach(HWND window) {
    window_ = window;
    Build();
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = AttachedView<ActionEditorWindow>(window, message, l);
    if (self == nullptr) return DefWindowProcW(window, message, w, l);
    switch (message) {
      case WM_COMMAND:
        self->Command(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
        return 0;
      case WM_CLOSE:
        self->editor_.CancelClick();
        WakeModalLoop(window);
        return 0;
      case WM_ACTIVATE:
        if (KeepFocusAcrossActivation(window, w, self->focus_)) return 0;
        break;
    }
    return DefWindowProcW(window, message, w, l);
  }

  HWND Add(const wchar_t* window_class, std::string_view text, DWORD style, int id, int x, int y, int w, int h,
           DWORD ex_style = 0) {
    return AddControl(window_, window_class, Wide(text), style, id, x, y, w, h, scale_, font_, ex_style);
  }


  void Build() {
    hints_ = CreateHints(window_);
    const int client_height = editor_.ClientHeight();
    for (std::size_t i = 0; i < editor_.Rows().size(); ++i) {
      const EditorRow& row = editor_.Rows()[i];
      const int base = kRowBase + kRowStride * static_cast<int>(i);
      Add(L"STATIC", row.caption, 0, -1, 16, row.top, 680, 18);
      HWND edit = Add(WC_EDITW, row.edit.text, WS_TABSTOP | ES_AUTOHSCROLL, base + kRowEdit, 16, row.top + 20,
                      row.edit_width, 24, WS_EX_CLIENTEDGE);
      if (!row.edit.visible) ShowWindow(edit, SW_HIDE);
      SetHint(hints_, edit, Wide(row.edit.hint));
      if (row.combo) {
        HWND combo = Add(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, base + kRowCombo, 16,
                         row.top + 20, row.edit_width, 24 * 17);
        SendMessageW(combo, CB_SETMINVISIBLE, 16, 0);
        for (const std::string& item : row.combo->items)
          SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(row.combo->selected), 0);
        SetHint(hints_, combo, Wide(row.combo->hint));
      }
      for (const RowButtonSpec& b : row.buttons) {
        HWND button = Add(WC_BUTTONW, b.caption, WS_TABSTOP | BS_PUSHBUTTON,
                          base + kRowFirstButton + static_cast<int>(b.kind), b.left, row.top + 18, b.width, 26);
        SetHint(hints_, button, Wide(b.hint));
      }
    }
    const int bar = client_height - 44;
    SetHint(hints_, Add(WC_BUTTONW, "Publication...", WS_TABSTOP, kPublicationButton, 16, bar, 104, 28),
            L"Get the current VisualNEO publication path (SDK interface 12).");
    SetHint(hints_, Add(WC_BUTTONW, "Embedded Files...", WS_TABSTOP, kEmbeddedFilesButton, 126, bar, 120, 28),
            L"Display VisualNEO Win's Embedded Files list (SDK interface 13).");
    Add(WC_BUTTONW, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, ActionEditor::kClientWidth - 190, bar, 80, 28);
    Add(WC_BUTTONW, "Cancel", WS_TABSTOP, IDCANCEL, ActionEditor::kClientWidth - 100, bar, 84, 28);
  }

  void Command(int id, int code, HWND control) {
    if (mirroring_) return;
    if (id == IDOK) editor_.OkClick();
    else if (id == IDCANCEL) editor_.CancelClick();
    else if (id == kPublicationButton && code == BN_CLICKED) editor_.PublicationClick();
    else if (id == kEmbeddedFilesButton && code == BN_CLICKED) editor_.EmbeddedFilesClick();
    else if (id < kRowBase || id >= kPublicationButton || !RowCommand(id, code, control)) return;
    if (editor_.Closed()) WakeModalLoop(window_);
    else Mirror();
  }

  // True when the notification was an event of the controller.
  bool RowCommand(int id, int code, HWND control) {
    const int row = (id - kRowBase) / kRowStride, part = (id - kRowBase) % kRowStride;
    if (part == kRowEdit && code == EN_CHANGE) editor_.TextChanged(row, WindowText(control));
    else if (part == kRowCombo && code == CBN_SELCHANGE)
      editor_.ComboChange(row, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    else if (part >= kRowFirstButton && code == BN_CLICKED)
      editor_.ButtonClick(row, static_cast<RowButton>(part - kRowFirstButton));
    else
      return false;
    return true;
  }

  // Puts texts the controller changed (browse, host dialogs, colour) into the edits.
  void Mirror() {
    mirroring_ = true;
    for (std::size_t i = 0; i < editor_.Rows().size(); ++i) {
      HWND edit = GetDlgItem(window_, kRowBase + kRowStride * static_cast<int>(i) + kRowEdit);
      const std::string& text = editor_.Rows()[i].edit.text;
      if (WindowText(edit) != text) SetWindowTextW(edit, Wide(text).c_str());
    }
    mirroring_ = false;
  }

  ActionEditor& editor_;
  Win32UiPort& ui_;
  Scale scale_ = ScreenScale();
  HFONT font_ = CreatePointFont(L"Segoe UI", 9, scale_);
  HWND window_ = nullptr;
  HWND hints_ = nullptr;
  HWND focus_ = nullptr;
  bool mirroring_ = false;
};

}  // namespace

void ShowActionEditor(ActionEditor& editor, Win32UiPort& ui) { ActionEditorWindow(editor, ui).Run(); }

}  // namespace qb::designer::win32
