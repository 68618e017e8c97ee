// Hosts the plug-in's designer or properties dialog and answers questions about its windows, one
// line each, for tests that drive the windows with real input from X. It never sends input.
// Usage: window_probe PLUGIN design PROJECT
//        window_probe PLUGIN edit ACTION [SLOT...]
// Questions on stdin (rectangles are "x y width height" on the screen):
//   top CLASS [MS]    wait (10 s) for a visible window of the class: its client area and X window
//   ctl ID            the client area of the control with that ID among all descendants of the window
//                     (a visible one first), visible/hidden, enabled/disabled
//   tab N, current    a tab item of the designer; the selected tab
//   cell ID ROW COL   a list view cell and whether its row is scrolled into view
//   focus             the focused control: ID, class, inside/top/outside, visible/hidden, its designer
//                     tab (-1 for none), the caret
//   settle            wait until the window's thread has handled its input and painted
//   surfaces          the visible labels and check boxes (rectangle, text), then "end"
//   fit MARGIN        texts cut off by their controls, controls nearer than MARGIN to the edges, then "end"
// When the window closes it prints "closed RESULT SLOT|SLOT|..." and exits.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "designer/designer_controls.hpp"
#include "designer/designer_form.hpp"
#include "designer/win32/control_ids.hpp"
#include "host_windows.hpp"

namespace {

namespace ids = qb::designer::win32;
using qb::test::Descendants;
using qb::test::Slots;

using ExecFn = int(__stdcall*)(int, char**, int);
using RegisterFn = void(__stdcall*)(void*, void*, void*, void*);

DWORD g_thread = 0;  // the thread that runs the windows
HWND g_top = nullptr;

// One call per line: the stream's own lock keeps the two threads' lines whole.
void Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void __stdcall OnSetVariable(char*, char*) {}

std::string Narrow(const wchar_t* wide) {
  char out[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, sizeof out - 1, nullptr, nullptr);
  return out;
}

std::string Rect(RECT r) {
  std::ostringstream s;
  s << r.left << ' ' << r.top << ' ' << r.right - r.left << ' ' << r.bottom - r.top;
  return s.str();
}

RECT ScreenRect(HWND window, RECT r) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The visible descendant with this ID, else any with it.
HWND Find(int id) {
  HWND any = nullptr;
  for (HWND w : Descendants(g_top)) {
    if (GetDlgCtrlID(w) != id) continue;
    if (IsWindowVisible(w)) return w;
    if (any == nullptr) any = w;
  }
  return any;
}

// Waits up to wait_ms for a visible window of this class in this process: its client area on the
// screen and its X window.
std::string Top(const std::string& name, int wait_ms) {
  const std::wstring cls(name.begin(), name.end());
  for (int i = 0; i <= wait_ms / 50; ++i) {
    for (HWND w = FindWindowW(cls.c_str(), nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, cls.c_str(), nullptr)) {
      DWORD pid = 0;
      const DWORD thread = GetWindowThreadProcessId(w, &pid);
      if (pid != GetCurrentProcessId() || !IsWindowVisible(w)) continue;
      g_top = w;
      g_thread = thread;
      RECT client;
      GetClientRect(w, &client);
      return Rect(ScreenRect(w, client)) + ' ' +
             std::to_string(reinterpret_cast<UINT_PTR>(GetPropA(w, "__wine_x11_whole_window")));
    }
    Sleep(50);
  }
  return "none";
}

std::string Control(int id) {
  HWND w = Find(id);
  if (w == nullptr) return "none";
  RECT r;
  GetClientRect(w, &r);
  return Rect(ScreenRect(w, r)) + (IsWindowVisible(w) ? " visible" : " hidden") +
         (IsWindowEnabled(w) ? " enabled" : " disabled");
}

std::string TabItem(int index) {
  HWND tabs = Find(ids::kDesignerControlBase + static_cast<int>(qb::designer::Ctl::Tabs));
  RECT r{};
  if (tabs == nullptr || !SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
    return "none";
  return Rect(ScreenRect(tabs, r));
}

std::string CurrentTab() {
  HWND tabs = Find(ids::kDesignerControlBase + static_cast<int>(qb::designer::Ctl::Tabs));
  return tabs == nullptr ? "none" : std::to_string(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
}

// A list view cell, and whether its row is scrolled into view ("shown", "above" or "below").
std::string Cell(int id, int row, int col) {
  HWND list = Find(id);
  RECT r{};
  r.top = col;
  r.left = LVIR_BOUNDS;
  if (list == nullptr ||
      !SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
    return "none";
  if (col == 0) r.right = r.left + static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  const int shown = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  return Rect(ScreenRect(list, r)) + (row < top ? " above" : row >= top + shown ? " below" : " shown");
}

// The designer tab a control ID belongs to, -1 for the window's own and other windows' controls.
int PageOf(int id) {
  if (id == ids::kPagesGridEditor) return qb::designer::kPagesTab;
  const int index = id - ids::kDesignerControlBase;
  if (index < 0 || index >= static_cast<int>(qb::designer::kControlCount)) return -1;
  return qb::designer::TabOf(static_cast<qb::designer::Ctl>(index));
}

// The focused control's ID and class, whether it lies in the probed window, and the caret.
std::string Focus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(g_thread, &info) || info.hwndFocus == nullptr) return "none";
  wchar_t cls[64] = {};
  GetClassNameW(info.hwndFocus, cls, 64);
  std::ostringstream s;
  s << GetDlgCtrlID(info.hwndFocus) << ' ' << Narrow(cls) << ' '
    << (IsChild(g_top, info.hwndFocus) ? "inside"
        : info.hwndFocus == g_top      ? "top"
                                       : "outside")
    << (IsWindowVisible(info.hwndFocus) ? " visible" : " hidden") << ' ' << PageOf(GetDlgCtrlID(info.hwndFocus));
  if (info.hwndCaret != nullptr) s << ' ' << Rect(ScreenRect(info.hwndCaret, info.rcCaret));
  return s.str();
}

// Returns once the window's thread has handled what was queued and painted what was invalid.
std::string Settle() {
  for (int i = 0; i < 100; ++i) {
    DWORD_PTR ignored;
    for (int k = 0; k < 2; ++k) SendMessageTimeoutW(g_top, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
    bool pending = GetUpdateRect(g_top, nullptr, FALSE) != FALSE;
    for (HWND w : Descendants(g_top)) pending = pending || (IsWindowVisible(w) && GetUpdateRect(w, nullptr, FALSE));
    // Wine copies the painted window to X when the thread next goes idle: a moment for that.
    Sleep(20);
    if (!pending) return "ok";
  }
  return "busy";
}

// The visible labels and check boxes, which show the surface behind them: rectangle and text; then "end".
void Surfaces() {
  for (HWND w : Descendants(g_top)) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    const LONG type = GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK;
    const bool label = std::wstring(cls) == L"Static" && GetWindowTextLengthW(w) > 0;
    const bool check = std::wstring(cls) == L"Button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
    if (!IsWindowVisible(w) || !(label || check)) continue;
    RECT r;
    GetWindowRect(w, &r);
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    Say(Rect(r) + " " + Narrow(text));
  }
  Say("end");
}

// What a control's text needs beside the text itself: the check box and its gap, a button's edges.
int Chrome(HWND w, const std::wstring& cls) {
  if (cls != L"Button") return 0;
  const LONG style = GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_GROUPBOX) return 16;
  if (style == BS_CHECKBOX || style == BS_AUTOCHECKBOX || style == BS_RADIOBUTTON || style == BS_AUTORADIOBUTTON)
    return GetSystemMetrics(SM_CXMENUCHECK) + 4;
  return 8;
}

// Every visible text that its control or list column cuts off, and every control nearer than
// margin to the client edges: one line each, then "end".
void Fit(int margin) {
  RECT client;
  GetClientRect(g_top, &client);
  client = ScreenRect(g_top, client);
  for (HWND w : Descendants(g_top)) {
    if (!IsWindowVisible(w)) continue;
    wchar_t cls[64] = {}, text[512] = {};
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, text, 512);
    const std::wstring name(cls);
    RECT r;
    GetWindowRect(w, &r);
    if (GetParent(w) == g_top && (r.left - client.left < margin || client.right - r.right < margin))
      Say("edge " + std::to_string(GetDlgCtrlID(w)) + " " + Narrow(cls) + " '" + Narrow(text) + "' " + Rect(r));
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
    auto check = [&](const wchar_t* shown, int width, int height, bool wraps) {
      RECT need{0, 0, width, 0};
      DrawTextW(dc, shown, -1, &need, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
      if (need.right > width || need.bottom > height)
        Say("cut " + std::to_string(GetDlgCtrlID(w)) + " " + Narrow(cls) + " '" + Narrow(shown) + "' needs " +
            std::to_string(need.right) + "x" + std::to_string(need.bottom) + " has " + std::to_string(width) + "x" +
            std::to_string(height));
    };
    RECT inside;
    GetClientRect(w, &inside);
    if ((name == L"Static" || name == L"Button") && text[0] != 0)
      check(text, inside.right - Chrome(w, name), inside.bottom, name == L"Static");
    if (name == WC_HEADERW) {
      for (int i = 0, n = static_cast<int>(SendMessageW(w, HDM_GETITEMCOUNT, 0, 0)); i < n; ++i) {
        wchar_t caption[256] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = caption;
        item.cchTextMax = 256;
        SendMessageW(w, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        check(caption, item.cxy - 12, inside.bottom, false);
      }
    }
    SelectObject(dc, old);
    ReleaseDC(w, dc);
  }
  Say("end");
}

DWORD WINAPI Answer(void*) {
  char line[512];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    int a = 0, b = 0, c = 0;
    if (command == "top") {
      std::string cls;
      int wait_ms = 0;
      if (!(in >> cls >> wait_ms)) wait_ms = 10000;
      Say(Top(cls, wait_ms));
    } else if (command == "ctl" && in >> a) {
      Say(Control(a));
    } else if (command == "current") {
      Say(CurrentTab());
    } else if (command == "surfaces") {
      Surfaces();
    } else if (command == "tab" && in >> a) {
      Say(TabItem(a));
    } else if (command == "cell" && in >> a >> b >> c) {
      Say(Cell(a, b, c));
    } else if (command == "focus") {
      Say(Focus());
    } else if (command == "settle") {
      Say(Settle());
    } else if (command == "fit") {
      in >> a;
      Fit(a);
    } else {
      Say("unknown " + command);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 4 || (std::strcmp(argv[2], "design") != 0 && std::strcmp(argv[2], "edit") != 0)) {
    std::printf("usage: window_probe PLUGIN design PROJECT | window_probe PLUGIN edit ACTION [SLOT...]\n");
    return 2;
  }
  HMODULE plugin = LoadLibraryA(argv[1]);
  if (plugin == nullptr) {
    std::printf("cannot load %s\n", argv[1]);
    return 1;
  }
  auto function = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(plugin, name)); };
  reinterpret_cast<RegisterFn>(function("nbRegisterPlugIn"))(nullptr, nullptr, nullptr,
                                                             reinterpret_cast<void*>(&OnSetVariable));
  CloseHandle(CreateThread(nullptr, 0, Answer, nullptr, 0, nullptr));
  const bool design = std::strcmp(argv[2], "design") == 0;
  std::vector<std::string> texts =
      design ? std::vector<std::string>{argv[3], "[R]"} : std::vector<std::string>(argv + 4, argv + argc);
  if (texts.empty()) texts.emplace_back();
  std::vector<char*> slots = Slots(texts);
  const int last = static_cast<int>(slots.size()) - 1;
  const int result = design
                         ? reinterpret_cast<ExecFn>(function("nbExecAction"))(8, slots.data(), last)
                         : reinterpret_cast<ExecFn>(function("nbEditAction"))(std::atoi(argv[3]), slots.data(), last);
  std::string joined;
  for (std::size_t i = 0; i < slots.size(); ++i) joined += (i > 0 ? "|" : "") + std::string(slots[i] ? slots[i] : "");
  Say("closed " + std::to_string(result) + " " + joined);
  std::fflush(stdout);
  ExitProcess(0);
}
