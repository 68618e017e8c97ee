// The virtual list view behind a large read-only text.
#include "designer/win32/line_view.hpp"

#include <algorithm>

#include "designer/win32/wide_text.hpp"

namespace qb::designer::win32 {

void LineView::Attach(HWND list) {
  list_ = list;
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void LineView::SetText(const std::string& text) {
  text_ = text;
  starts_.assign(1, 0);
  std::size_t longest = 0, length = 0;  // in code points
  for (std::size_t i = 0; i < text_.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text_[i]);
    if (c == '\n') {
      starts_.push_back(i + 1);
      longest = std::max(longest, length);
      length = 0;
    } else if ((c & 0xC0) != 0x80 && c != '\r') {
      ++length;
    }
  }
  longest = std::max(longest, length);
  starts_.push_back(text_.size() + 1);  // the end of the last line, as if a line break followed

  HDC dc = GetDC(list_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(list_, dc);
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  SendMessageW(list_, LVM_SETITEMCOUNT, starts_.size() - 1, 0);
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0,
               static_cast<LPARAM>(longest + 2) * metrics.tmAveCharWidth + 2 * GetSystemMetrics(SM_CXEDGE));
  SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
  InvalidateRect(list_, nullptr, TRUE);
}

std::string_view LineView::Line(std::size_t i) const {
  std::string_view line(text_.data() + starts_[i], starts_[i + 1] - 1 - starts_[i]);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::optional<LRESULT> LineView::Notify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && static_cast<std::size_t>(item.iItem) + 1 < starts_.size()) {
        line_ = Wide(Line(static_cast<std::size_t>(item.iItem)));
        item.pszText = line_.data();
      }
      return 0;
    }
    case LVN_ODFINDITEMW:
      return -1;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey;
      if (GetKeyState(VK_CONTROL) >= 0) return 0;
      if (key == 'A') {
        LVITEMW all{};
        all.stateMask = all.state = LVIS_SELECTED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
      } else if (key == 'C') {
        CopySelection();
      }
      return 0;
    }
  }
  return std::nullopt;
}

void LineView::CopySelection() const {
  std::wstring copied;
  for (int i = -1; (i = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
    copied += (copied.empty() ? L"" : L"\r\n") + Wide(Line(static_cast<std::size_t>(i)));
  if (copied.empty() || !OpenClipboard(list_)) return;
  EmptyClipboard();
  const std::size_t bytes = (copied.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::copy_n(copied.c_str(), copied.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace qb::designer::win32
