// Brings list boxes, drop-down lists and report list views to the controller's entries, changing
// only the entries that differ, with drawing switched off around a refill.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>


namespace qb::designer::win32 {

// Switches drawing of window off for the lifetime of the object and repaints it afterwards.
class RedrawOff {
 public:
  explicit RedrawOff(HWND window) : window_(window) { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawOff() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND window_;
};

// A list box (combo false) or drop-down list (combo true) showing items, which showed shown before.
// The selection is left to the caller: a replaced entry loses it.
void MirrorItems(HWND control, bool combo, const std::vector<std::string>& items,
                 const std::vector<std::string>& shown);

// The width in pixels of the widest of items in control's font.
int WidestText(HWND control, const std::vector<std::string>& items);

void SetCellText(HWND list, int row, int column, const std::string& text);

void InsertRow(HWND list, int row, const std::string& first_cell);

// A report list view showing rows (each a fixed array of cell texts), which showed shown before:
// cells of rows in both are set where they differ, rows beyond are inserted or deleted at the end.
template <typename Row>
void MirrorRows(HWND list, const std::vector<Row>& rows, const std::vector<Row>& shown) {
  const std::size_t common = std::min(rows.size(), shown.size());
  std::optional<RedrawOff> quiet;
  if (rows.size() > shown.size() + 4 || shown.size() > rows.size() + 4) quiet.emplace(list);
  for (std::size_t r = shown.size(); r > rows.size(); --r) SendMessageW(list, LVM_DELETEITEM, r - 1, 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r >= common) InsertRow(list, static_cast<int>(r), rows[r][0]);
    for (std::size_t c = r >= common ? 1 : 0; c < rows[r].size(); ++c)
      if (r >= common ? !rows[r][c].empty() : rows[r][c] != shown[r][c])
        SetCellText(list, static_cast<int>(r), static_cast<int>(c), rows[r][c]);
  }
}

}  // namespace qb::designer::win32
