// What the Windows test and benchmark programs share: the host's parameter slots and the windows
// below a window.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace qb::test {

// Host slots: blocks from GlobalAlloc, as the host hands them over.
inline std::vector<char*> Slots(const std::vector<std::string>& texts) {
  std::vector<char*> slots;
  for (const std::string& t : texts) {
    char* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED, t.size() + 1));
    std::memcpy(block, t.c_str(), t.size() + 1);
    slots.push_back(block);
  }
  return slots;
}

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// All descendants of the window, however deep.
inline std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

// The descendant of the window with this control identifier, or nullptr.
inline HWND Descendant(HWND top, int id) {
  for (HWND child : Descendants(top))
    if (GetDlgCtrlID(child) == id) return child;
  return nullptr;
}

}  // namespace qb::test
