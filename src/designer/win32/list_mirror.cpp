// Entry-by-entry updates of list controls.
#include "designer/win32/list_mirror.hpp"

#include <algorithm>

#include "designer/win32/wide_text.hpp"

namespace qb::designer::win32 {

void MirrorItems(HWND control, bool combo, const std::vector<std::string>& items,
                 const std::vector<std::string>& shown) {
  // Only the entries between the common beginning and the common end are replaced.
  std::size_t head = 0;
  while (head < items.size() && head < shown.size() && items[head] == shown[head]) ++head;
  std::size_t tail = 0;
  while (tail < items.size() - head && tail < shown.size() - head &&
         items[items.size() - 1 - tail] == shown[shown.size() - 1 - tail])
    ++tail;
  const std::size_t removed = shown.size() - head - tail, added = items.size() - head - tail;
  // Drawing stays off while entries change: a list box otherwise redraws its scroll bars at
  // each one.
  RedrawOff quiet(control);
  if (removed + added > 16) {
    SendMessageW(control, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    if (!combo) SendMessageW(control, LB_INITSTORAGE, items.size(), 32 * items.size());
    for (const std::string& item : items)
      SendMessageW(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    return;
  }
  for (std::size_t i = 0; i < removed; ++i) SendMessageW(control, combo ? CB_DELETESTRING : LB_DELETESTRING, head, 0);
  for (std::size_t i = 0; i < added; ++i)
    SendMessageW(control, combo ? CB_INSERTSTRING : LB_INSERTSTRING, head + i,
                 reinterpret_cast<LPARAM>(Wide(items[head + i]).c_str()));
}

int WidestText(HWND control, const std::vector<std::string>& items) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& item : items) {
    const std::wstring text = Wide(item);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return widest;
}

void InsertRow(HWND list, int row, const std::string& first_cell) {
  std::wstring text = Wide(first_cell);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = text.data();
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SetCellText(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace qb::designer::win32
