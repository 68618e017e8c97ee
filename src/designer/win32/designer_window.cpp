// The designer window on Win32: it builds the controls of the layout table, mirrors the
// controller's state into them and forwards the user's events.
#include "designer/win32/designer_window.hpp"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <map>
#include <set>

#include "designer/win32/control_ids.hpp"
#include "designer/win32/designer_layout.hpp"
#include "designer/win32/line_view.hpp"
#include "designer/win32/list_mirror.hpp"
#include "designer/win32/wide_text.hpp"
#include "designer/win32/window_kit.hpp"

namespace qb::designer::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillbarrowDesigner";
constexpr wchar_t kPageClassName[] = L"QuillbarrowDesignerPage";
constexpr int kTabCount = 4;
constexpr const char* kTabCaptions[] = {"Project && Database", "Tables && Fields", "Pages", "JSON Preview"};
constexpr int kFieldColumnWidths[kFieldColumnCount] = {130, 140, 150, 56, 62, 56, 52, 54, 200};
constexpr int kPageColumnWidths[kPageColumnCount] = {180, 280, 240};
constexpr int kAccessColumnWidths[kRightCount + 1] = {150, 64, 64, 64, 64, 120};
using RoleCell = std::array<std::string, 1>;
constexpr COLORREF kGrey = RGB(96, 96, 96);

struct Made {
  HWND window;
  const Placement* placement;
};

// The style bit, not the visibility, which is false for everything before the window is shown.
bool HasVisibleStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// A tab page: holds its controls, shows and hides them as one, and hands their notifications to
// the designer window.
LRESULT CALLBACK PageProcedure(HWND page, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND: case WM_NOTIFY: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return SendMessageW(GetParent(page), message, w, l);
  }
  return DefWindowProcW(page, message, w, l);
}

class DesignerWindow {
 public:
  DesignerWindow(DesignerForm& form, Win32UiPort& ui) : form_(form), ui_(ui) {}

  void Run() {
    RegisterViewClass(kClassName, &DesignerWindow::Procedure);
    RegisterViewClass(kPageClassName, &PageProcedure);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, scale_(kDesignWidth), scale_(kDesignHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    min_track_ = {width - scale_(kDesignWidth - kMinWidth), height - scale_(kDesignHeight - kMinHeight)};
    CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"Kettlebourne Database Designer", style,
                    (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
                    height, nullptr, nullptr, ModuleInstance(), this);
    ui_.SetOwner(window_);
    Sync();
    RunModal(window_, [this] { return form_.Closed(); });
    ui_.SetOwner(nullptr);
    DeleteObject(font_);
    DeleteObject(mono_);
  }

  // Called by AttachedView when the window is created.
  void Attach(HWND window) {
    window_ = window;
    Build();
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = AttachedView<DesignerWindow>(window, message, l);
    if (self == nullptr) return DefWindowProcW(window, message, w, l);
    switch (message) {
      case WM_SIZE:
        self->Layout();
        return 0;
      case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = self->min_track_;
        return 0;
      case WM_COMMAND:
        self->Command(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
        return 0;
      case WM_NOTIFY:
        return self->Notify(reinterpret_cast<NMHDR*>(l));
      case WM_ACTIVATE:
        if (KeepFocusAcrossActivation(window, w, self->focus_)) return 0;
        break;
      case WM_CTLCOLORSTATIC:
        if (self->grey_.count(reinterpret_cast<HWND>(l))) {
          SetTextColor(reinterpret_cast<HDC>(w), kGrey);
          SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_BTNFACE));
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
      case WM_CLOSE:
        self->form_.CloseRequested();
        self->Sync();
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
  }

  // Tab moves the grid's cell editor between cells; leaving the grid writes it back.
  static LRESULT CALLBACK GridSubclass(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<DesignerWindow*>(data);
    if (message == WM_GETDLGCODE && window == self->grid_editor_)
      return DefSubclassProc(window, message, w, l) | DLGC_WANTTAB;
    if (message == WM_KEYDOWN && w == VK_TAB && window == self->grid_editor_) {
      self->TabThroughGrid(GetKeyState(VK_SHIFT) < 0);
      return 0;
    }
    if (message == WM_CHAR && w == L'\t' && window == self->grid_editor_) return 0;
    if (message == WM_KILLFOCUS) {
      const HWND next = reinterpret_cast<HWND>(w);
      if (next != self->grid_editor_ && next != self->Of(Ctl::sgPages) && !self->syncing_) {
        self->form_.GridLostFocus();
        self->Sync();
      }
    }
    return DefSubclassProc(window, message, w, l);
  }

  HWND Of(Ctl id) const { return controls_[static_cast<std::size_t>(id)]; }


  void Build() {
    hints_ = CreateHints(window_);
    for (HWND& page : pages_)
      // Without WS_CLIPCHILDREN: the page paints its background under the group boxes, which
      // leave their inside to their parent.
      page = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                             window_, nullptr, ModuleInstance(), nullptr);
    for (const Placement& p : DesignerPlacements()) {
      HWND made = Create(p);
      made_.push_back({made, &p});
      if (p.ctl >= 0) {
        controls_[static_cast<std::size_t>(p.ctl)] = made;
        kinds_[static_cast<std::size_t>(p.ctl)] = p.kind;
      }
      if (p.kind == Kind::GreyLabel) grey_.insert(made);
    }
    // Frames lie under what they hold, the tab control under the pages.
    for (const Made& m : made_)
      if (m.placement->kind == Kind::Group || m.placement->kind == Kind::Panel || m.placement->kind == Kind::Tabs)
        SetWindowPos(m.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    grid_editor_ = AddControl(pages_[kPagesTab], WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL | WS_BORDER,
                              kPagesGridEditor, 0, 0, 10, 10, scale_, font_);
    SetWindowPos(grid_editor_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowSubclass(grid_editor_, GridSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(Of(Ctl::sgPages), GridSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(Of(Ctl::edPassword), EM_SETPASSWORDCHAR, L'*', 0);
    Layout();
  }

  HWND Create(const Placement& p) {
    const std::wstring text = Wide(p.text);
    auto add = [&](const wchar_t* cls, DWORD style, DWORD ex_style = 0, HFONT font = nullptr) {
      const int id = p.ctl >= 0 ? kDesignerControlBase + p.ctl : -1;
      HWND parent = p.tab >= 0 ? pages_[static_cast<std::size_t>(p.tab)] : window_;
      return AddControl(parent, cls, text, style, id, p.x, p.y, p.width, p.height, scale_, font ? font : font_,
                        ex_style);
    };
    switch (p.kind) {
      case Kind::Label: case Kind::GreyLabel: case Kind::WrappedLabel: return add(WC_STATICW, SS_LEFT);
      case Kind::Group: return add(WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS);
      case Kind::Panel: return add(WC_STATICW, 0, WS_EX_CLIENTEDGE);
      case Kind::Edit: return add(WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
      case Kind::Password: return add(WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, WS_EX_CLIENTEDGE);
      case Kind::Memo:
        return add(WC_EDITW, WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL,
                   WS_EX_CLIENTEDGE);
      case Kind::Preview: {
        HWND lines = add(WC_LISTVIEWW, WS_TABSTOP | LineView::kStyle, WS_EX_CLIENTEDGE, mono_);
        preview_.Attach(lines);
        return lines;
      }
      case Kind::Combo: {
        HWND combo = add(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
        SendMessageW(combo, CB_SETMINVISIBLE, 16, 0);
        return combo;
      }
      case Kind::List:
        return add(WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                   WS_EX_CLIENTEDGE);
      case Kind::ListView: return ReportList(add(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                                 LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE), true);
      case Kind::Grid: return ReportList(add(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                             WS_EX_CLIENTEDGE), false);
      case Kind::CheckGrid:
        return AccessList(add(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER,
                              WS_EX_CLIENTEDGE));
      case Kind::Check: return add(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX);
      case Kind::Button: return add(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON);
      case Kind::Tabs: {
        HWND tabs = add(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS);
        for (int i = 0; i < 4; ++i) {
          std::wstring caption = Wide(kTabCaptions[i]);
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          item.pszText = caption.data();
          SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        return tabs;
      }
    }
    return nullptr;
  }

  // A column at least as wide as its caption in the font the screen has.
  void AddColumn(HWND list, std::size_t index, std::string_view text, int width) {
    std::wstring caption = Wide(text);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption.data();
    const int caption_width =
        static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(caption.c_str())));
    column.cx = std::max(scale_(width), caption_width + scale_(16));
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  }

  // The roles and their rights: a role per row, a check box per right drawn over the empty cells.
  HWND AccessList(HWND list) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES);
    AddColumn(list, 0, "Role", kAccessColumnWidths[0]);
    for (std::size_t i = 0; i < kRightCount; ++i) AddColumn(list, i + 1, kRightCaptions[i], kAccessColumnWidths[i + 1]);
    HIMAGELIST rows = ImageList_Create(1, scale_(18), ILC_COLOR, 1, 1);
    ListView_SetImageList(list, rows, LVSIL_SMALL);
    return list;
  }

  HWND ReportList(HWND list, bool fields) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | (fields ? LVS_EX_FULLROWSELECT : 0));
    const std::size_t count = fields ? kFieldColumnCount : kPageColumnCount;
    for (std::size_t i = 0; i < count; ++i)
      AddColumn(list, i, fields ? kFieldColumnCaptions[i] : kPagesGridHeader[i],
                fields ? kFieldColumnWidths[i] : kPageColumnWidths[i]);
    if (!fields) {
      HIMAGELIST rows = ImageList_Create(1, scale_(24), ILC_COLOR, 1, 1);
      ListView_SetImageList(list, rows, LVSIL_SMALL);
    }
    return list;
  }

  // Places every control; the pages fill the tab control's display area, and the controls on a
  // page keep the window positions of the layout table.
  void Layout() {
    RECT client;
    GetClientRect(window_, &client);
    const int width = MulDiv(client.right, 96, scale_.dpi), height = MulDiv(client.bottom, 96, scale_.dpi);
    auto scaled = [&](const Placement& p) {
      const RECT r = Anchored(p, width, height);
      return RECT{scale_(r.left), scale_(r.top), scale_(r.right), scale_(r.bottom)};
    };
    RECT display = scaled(DesignerPlacements().back());
    SendMessageW(Of(Ctl::Tabs), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (HWND page : pages_)
      SetWindowPos(page, nullptr, display.left, display.top, display.right - display.left,
                   display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Made& m : made_) {
      RECT r = scaled(*m.placement);
      if (m.placement->tab >= 0) OffsetRect(&r, -display.left, -display.top);
      SetWindowPos(m.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PlaceGridEditor();
  }

  // ---- Mirroring the controller ----

  void Sync() {
    syncing_ = true;
    if (form_.Caption() != shown_caption_) {
      SetWindowTextW(window_, Wide(form_.Caption()).c_str());
      shown_caption_ = form_.Caption();
    }
    if (SendMessageW(Of(Ctl::Tabs), TCM_GETCURSEL, 0, 0) != form_.ActiveTab())
      SendMessageW(Of(Ctl::Tabs), TCM_SETCURSEL, static_cast<WPARAM>(form_.ActiveTab()), 0);
    for (const Made& m : made_) SyncOne(m);
    SyncFieldRows();
    SyncAccessRows();
    SyncGrid();
    SyncPages();
    if (form_.FocusRequests() != shown_focus_requests_) {
      shown_focus_requests_ = form_.FocusRequests();
      SetFocus(Of(form_.Focus()));
      SendMessageW(Of(form_.Focus()), EM_SETSEL, 0, -1);
    }
    syncing_ = false;
    if (form_.Closed()) WakeModalLoop(window_);
  }

  // The active page is shown before the others are hidden, so the window never shows an empty tab;
  // a focus left on a hidden page goes to the tab control.
  void SyncPages() {
    const int active = form_.ActiveTab();
    if (!HasVisibleStyle(pages_[static_cast<std::size_t>(active)]))
      ShowWindow(pages_[static_cast<std::size_t>(active)], SW_SHOWNA);
    for (int i = 0; i < kTabCount; ++i)
      if (i != active && HasVisibleStyle(pages_[static_cast<std::size_t>(i)]))
        ShowWindow(pages_[static_cast<std::size_t>(i)], SW_HIDE);
    const HWND focus = GetFocus();
    if (IsWindowVisible(window_) && focus != nullptr && IsChild(window_, focus) && !IsWindowVisible(focus))
      SetFocus(Of(Ctl::Tabs));
  }

  void SyncOne(const Made& m) {
    const Placement& p = *m.placement;
    if (p.ctl < 0) return;
    const Ctl id = static_cast<Ctl>(p.ctl);
    const ControlState& state = form_.Control(id);
    ControlState& shown = shown_[static_cast<std::size_t>(p.ctl)];
    const bool enabled = form_.IsUsable(id);
    if (IsWindowEnabled(m.window) != (enabled ? TRUE : FALSE)) {
      EnableWindow(m.window, enabled);
      if (p.kind == Kind::CheckGrid) InvalidateRect(m.window, nullptr, TRUE);
    }
    SyncValue(p.kind, m.window, state, shown);
    if (state != shown) shown = state;
    if (HasVisibleStyle(m.window) != state.visible) ShowWindow(m.window, state.visible ? SW_SHOWNA : SW_HIDE);
  }

  void SyncValue(Kind kind, HWND window, const ControlState& state, const ControlState& shown) {
    switch (kind) {
      case Kind::Preview:
        if (state.text != shown.text) preview_.SetText(state.text);
        break;
      case Kind::Label: case Kind::WrappedLabel: case Kind::Edit: case Kind::Password: case Kind::Memo:
        if (WindowText(window) != state.text) SetWindowTextW(window, Wide(state.text).c_str());
        break;
      case Kind::Combo: case Kind::List: {
        const bool combo = kind == Kind::Combo;
        if (state.items != shown.items) {
          MirrorItems(window, combo, state.items, shown.items);
          if (!combo) WidenList(window, state.items, shown.items, list_extents_[window]);
        }
        if (SendMessageW(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0) != state.selected)
          SendMessageW(window, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(state.selected), 0);
        break;
      }
      case Kind::Check:
        if ((SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED) != state.checked)
          SendMessageW(window, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      default:
        break;
    }
    if (state.hint != shown.hint) SetHint(hints_, window, Wide(state.hint));
  }

  // A list box scrolls sideways to its widest entry; the width only grows while entries are
  // edited, and is measured anew when the list is refilled. It changes in steps, as each change
  // redraws the list.
  void WidenList(HWND list, const std::vector<std::string>& items, const std::vector<std::string>& shown,
                 int& widest) {
    if (items.size() != shown.size()) {
      widest = WidestText(list, items);
    } else {
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] != shown[i]) widest = std::max(widest, WidestText(list, {items[i]}));
    }
    const int step = scale_(64);
    const auto extent = static_cast<WPARAM>((widest + scale_(8) + step - 1) / step * step);
    if (SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) != static_cast<LRESULT>(extent))
      SendMessageW(list, LB_SETHORIZONTALEXTENT, extent, 0);
  }

  void SyncFieldRows() {
    HWND list = Of(Ctl::lvFields);
    if (form_.FieldRows() != shown_rows_) {
      MirrorRows(list, form_.FieldRows(), shown_rows_);
      shown_rows_ = form_.FieldRows();
    }
    const int selected = form_.Control(Ctl::lvFields).selected;
    if (ListView_GetNextItem(list, -1, LVNI_SELECTED) != selected) {
      ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
      if (selected >= 0) {
        ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, selected, FALSE);
      }
    }
  }

  // Role names are cell texts; the rights are drawn, so a change of them only repaints.
  void SyncAccessRows() {
    const std::vector<AccessRow>& rows = form_.AccessRows();
    if (rows == shown_access_) return;
    std::vector<RoleCell> names, shown_names;
    for (const AccessRow& row : rows) names.push_back({row.role});
    for (const AccessRow& row : shown_access_) shown_names.push_back({row.role});
    MirrorRows(Of(Ctl::lvAccess), names, shown_names);
    shown_access_ = rows;
    InvalidateRect(Of(Ctl::lvAccess), nullptr, FALSE);
  }

  // A check box per right in each row of the access list, after the row is drawn; rows take no
  // selection, so the boxes alone show the state.
  LRESULT AccessCells(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) return CDRF_NOTIFYPOSTPAINT;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPOSTPAINT) return CDRF_DODEFAULT;
    const auto row = static_cast<std::size_t>(draw->nmcd.dwItemSpec);
    const std::vector<AccessRow>& rows = form_.AccessRows();
    if (row >= rows.size()) return CDRF_DODEFAULT;
    HWND list = draw->nmcd.hdr.hwndFrom;
    // Admin's row never changes: drawn as disabled, like the whole list without a limit.
    const bool usable = form_.IsUsable(Ctl::lvAccess) && row > 0;
    HTHEME theme = OpenThemeData(nullptr, L"BUTTON");  // not the list's own theme, which draws its border
    const int side = scale_(13);
    for (std::size_t right = 0; right < kRightCount; ++right) {
      RECT cell{};
      cell.top = static_cast<LONG>(right + 1);
      cell.left = LVIR_BOUNDS;
      SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
      const int x = (cell.left + cell.right - side) / 2, y = (cell.top + cell.bottom - side) / 2;
      RECT box{x, y, x + side, y + side};
      const bool checked = rows[row].granted[right];
      if (theme != nullptr) {
        const int state = checked ? (usable ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED)
                                  : (usable ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED);
        DrawThemeBackground(theme, draw->nmcd.hdc, BP_CHECKBOX, state, &box, nullptr);
      } else {
        DrawFrameControl(draw->nmcd.hdc, &box, DFC_BUTTON,
                         DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) | (usable ? 0 : DFCS_INACTIVE));
      }
    }
    if (theme != nullptr) CloseThemeData(theme);
    return CDRF_DODEFAULT;
  }

  void SyncGrid() {
    const PagesGrid& grid = form_.Grid();
    const std::vector<GridRow> data(grid.rows.begin() + 1, grid.rows.end());
    if (data != shown_grid_) {
      MirrorRows(Of(Ctl::sgPages), data, shown_grid_);
      shown_grid_ = data;
    }
    const std::string& cell =
        grid.rows[static_cast<std::size_t>(grid.row)][static_cast<std::size_t>(grid.col)];
    if (WindowText(grid_editor_) != cell) SetWindowTextW(grid_editor_, Wide(cell).c_str());
    PlaceGridEditor();
  }

  void PlaceGridEditor() {
    HWND list = Of(Ctl::sgPages);
    if (list == nullptr || grid_editor_ == nullptr) return;
    RECT cell{};
    cell.top = form_.Grid().col;
    cell.left = form_.Grid().col == 0 ? LVIR_LABEL : LVIR_BOUNDS;
    const bool found = SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(form_.Grid().row - 1),
                                    reinterpret_cast<LPARAM>(&cell)) != 0;
    if (found) {
      if (form_.Grid().col == 0) cell.right = cell.left + ListView_GetColumnWidth(list, 0) - 2;
      MapWindowPoints(list, GetParent(grid_editor_), reinterpret_cast<POINT*>(&cell), 2);
      RECT now;
      GetWindowRect(grid_editor_, &now);
      MapWindowPoints(nullptr, GetParent(grid_editor_), reinterpret_cast<POINT*>(&now), 2);
      if (!EqualRect(&now, &cell))
        SetWindowPos(grid_editor_, nullptr, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HasVisibleStyle(grid_editor_) != found) ShowWindow(grid_editor_, found ? SW_SHOWNA : SW_HIDE);
  }

  // ---- Events from the controls ----

  void Command(int id, int code, HWND control) {
    if (syncing_) return;
    if (id == IDCANCEL) {
      form_.CloseRequested();
    } else if (id == kPagesGridEditor) {
      if (code != EN_CHANGE) return;
      form_.GridCellEdited(form_.Grid().row, form_.Grid().col, WindowText(control));
    } else if (id >= kDesignerControlBase && id < kDesignerControlBase + static_cast<int>(kControlCount)) {
      if (!ControlCommand(static_cast<Ctl>(id - kDesignerControlBase), code, control)) return;
    } else {
      return;
    }
    Sync();
  }

  // True when the notification was an event of the controller.
  bool ControlCommand(Ctl id, int code, HWND control) {
    const Kind kind = kinds_[static_cast<std::size_t>(id)];
    if ((kind == Kind::Edit || kind == Kind::Password || kind == Kind::Memo) && code == EN_CHANGE) {
      form_.TextChanged(id, WindowText(control));
    } else if (kind == Kind::Combo && code == CBN_SELCHANGE) {
      form_.Selected(id, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    } else if (kind == Kind::List && code == LBN_SELCHANGE) {
      form_.Selected(id, static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
    } else if (kind == Kind::Check && code == BN_CLICKED) {
      form_.Checked(id, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (kind == Kind::Button && code == BN_CLICKED) {
      form_.Clicked(id);
    } else {
      return false;
    }
    return true;
  }

  LRESULT Notify(NMHDR* header) {
    if (header->hwndFrom == Of(Ctl::lvFields) && header->code == NM_CUSTOMDRAW)
      return SelectedRowColours(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    if (header->hwndFrom == Of(Ctl::mmPreview))
      if (const std::optional<LRESULT> answer = preview_.Notify(header)) return *answer;
    if (header->hwndFrom == Of(Ctl::lvAccess)) {
      if (header->code == NM_CUSTOMDRAW) return AccessCells(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
      if (header->code == LVN_ITEMCHANGING) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        return (change->uChanged & LVIF_STATE) && (change->uNewState & (LVIS_SELECTED | LVIS_FOCUSED)) ? TRUE : FALSE;
      }
    }
    if (syncing_) return 0;
    if (header->hwndFrom == Of(Ctl::Tabs) && header->code == TCN_SELCHANGE) {
      form_.TabChanged(static_cast<int>(SendMessageW(Of(Ctl::Tabs), TCM_GETCURSEL, 0, 0)));
      Sync();
    } else if (header->hwndFrom == Of(Ctl::lvFields) && header->code == LVN_ITEMCHANGED) {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) {
        form_.Selected(Ctl::lvFields, change->iItem);
        Sync();
      }
    } else if (header->hwndFrom == Of(Ctl::lvAccess) && (header->code == NM_CLICK || header->code == NM_DBLCLK)) {
      const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
      if (click->iItem >= 0 && click->iSubItem >= 1) {
        form_.AccessCellClicked(click->iItem, click->iSubItem - 1);
        Sync();
      }
    } else if (header->hwndFrom == Of(Ctl::sgPages) && header->code == NM_CLICK) {
      const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
      if (click->iItem >= 0) MoveGridCell(click->iItem + 1, click->iSubItem);
    } else if (header->hwndFrom == Of(Ctl::sgPages) && header->code == LVN_ENDSCROLL) {
      PlaceGridEditor();
    } else if (header->code == HDN_ENDTRACKW || header->code == HDN_ITEMCHANGEDW) {
      PlaceGridEditor();
    }
    return 0;
  }

  // The selected field row in the selection colours whether or not the list has the focus.
  LRESULT SelectedRowColours(NMLVCUSTOMDRAW* draw) const {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
        static_cast<int>(draw->nmcd.dwItemSpec) == form_.Control(Ctl::lvFields).selected) {
      draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
      draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
      draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
  }

  void MoveGridCell(int row, int col) {
    form_.GridCellSelecting(row, col);
    Sync();
    SetFocus(grid_editor_);
    SendMessageW(grid_editor_, EM_SETSEL, 0, -1);
  }

  void TabThroughGrid(bool backwards) {
    const PagesGrid& grid = form_.Grid();
    int row = grid.row, col = grid.col + (backwards ? -1 : 1);
    if (col >= static_cast<int>(kPageColumnCount)) col = 0, ++row;
    if (col < 0) col = static_cast<int>(kPageColumnCount) - 1, --row;
    if (row < 1 || row >= grid.RowCount()) {
      SetFocus(GetNextDlgTabItem(window_, grid_editor_, backwards));
      return;
    }
    MoveGridCell(row, col);
  }

  DesignerForm& form_;
  Win32UiPort& ui_;
  Scale scale_ = ScreenScale();
  HFONT font_ = CreatePointFont(L"Segoe UI", 9, scale_);
  HFONT mono_ = CreatePointFont(L"Consolas", 9, scale_, true);
  HWND window_ = nullptr;
  HWND hints_ = nullptr;
  HWND grid_editor_ = nullptr;
  std::array<HWND, kTabCount> pages_{};
  LineView preview_;
  HWND focus_ = nullptr;  // the focused control while another window is active
  std::map<HWND, int> list_extents_;  // a list box's widest entry
  POINT min_track_{};
  std::vector<Made> made_;
  std::array<HWND, kControlCount> controls_{};
  std::array<Kind, kControlCount> kinds_{};
  std::set<HWND> grey_;
  std::array<ControlState, kControlCount> shown_{};
  std::vector<FieldRow> shown_rows_;
  std::vector<GridRow> shown_grid_;
  std::vector<AccessRow> shown_access_;
  std::string shown_caption_;
  int shown_focus_requests_ = 0;
  bool syncing_ = false;
};

}  // namespace

void ShowDesigner(DesignerForm& form, Win32UiPort& ui) { DesignerWindow(form, ui).Run(); }

}  // namespace qb::designer::win32
