// A read-only text of many lines in a virtual list view: the control only ever asks for the lines
// on screen, so a text of megabytes shows at once (an edit control measures every line first).
// Ctrl+A selects every line, Ctrl+C copies the selected ones.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb::designer::win32 {

class LineView {
 public:
  // The window style of the list view this class drives.
  static constexpr DWORD kStyle = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDATA | LVS_SHOWSELALWAYS;

  void Attach(HWND list);
  void SetText(const std::string& text);
  // Answers the list's notifications; nothing when header is not one of them.
  std::optional<LRESULT> Notify(NMHDR* header);

 private:
  std::string_view Line(std::size_t i) const;
  void CopySelection() const;

  HWND list_ = nullptr;
  std::string text_;
  std::vector<std::size_t> starts_;  // where each line starts in text_, and text_'s end
  std::wstring line_;                // the line last handed to the control
};

}  // namespace qb::designer::win32
