// Drives the real Win32 designer and properties dialog of the plug-in with window messages from a
// second thread, as a user would, checks what the host receives, and takes screenshots.
// Usage: designer_gui_test PLUGIN WORK_FOLDER SCREENSHOT_FOLDER
//        designer_gui_test --cancel-designer CAPTION   (closes a designer another program opened)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "designer/designer_controls.hpp"
#include "designer/win32/control_ids.hpp"
#include "designer/win32/designer_layout.hpp"
#include "host_windows.hpp"
#include "png_writer.hpp"

namespace {

using qb::designer::Ctl;
using qb::test::Descendant;
using qb::test::Slots;
namespace ids = qb::designer::win32;

int g_failures = 0;
std::wstring g_shots;
std::vector<std::pair<std::string, std::string>> g_writes;

#define CHECK(condition)                                                  \
  do {                                                                    \
    if (!(condition)) {                                                   \
      ++g_failures;                                                       \
      std::printf("FAILED %s:%d: %s\n", __FILE__, __LINE__, #condition); \
    }                                                                     \
  } while (false)

using ExecFn = int(__stdcall*)(int, char**, int);
using RegisterFn = void(__stdcall*)(void*, void*, void*, void*);

// An export of the plug-in as a function of its type.
template <typename Fn>
Fn Export(HMODULE plugin, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(plugin, name)));
}

void __stdcall OnSetVariable(char* name, char* value) { g_writes.emplace_back(name, value); }

std::string Narrow(const std::wstring& wide) {
  std::string out(static_cast<std::size_t>(wide.size()) * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

HWND WaitWindow(const wchar_t* window_class) {
  for (int i = 0; i < 300; ++i) {
    HWND window = FindWindowW(window_class, nullptr);
    if (window != nullptr && IsWindowVisible(window)) {
      Sleep(300);
      return window;
    }
    Sleep(100);
  }
  std::printf("FAILED: no %ls window appeared\n", window_class);
  ++g_failures;
  return nullptr;
}

HWND Item(HWND window, Ctl id) { return Descendant(window, ids::kDesignerControlBase + static_cast<int>(id)); }

std::string Text(HWND control) {
  wchar_t buffer[8192] = {};
  SendMessageW(control, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer));
  return Narrow(buffer);
}

// Every line of a list view's first column, each followed by a line feed.
std::string Lines(HWND list) {
  std::string text;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[4096] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = 4096;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    text += Narrow(buffer) + "\n";
  }
  return text;
}

// Replaces the whole text as typing does (a multi-line edit reports no change for WM_SETTEXT).
void Type(HWND control, const wchar_t* text) {
  SendMessageW(control, EM_SETSEL, 0, -1);
  SendMessageW(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void Pick(HWND window, HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void ShowTab(HWND window, int index) {
  HWND tabs = Item(window, Ctl::Tabs);
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(window, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void PickListEntry(HWND window, HWND list, int index) {
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// A click on a cell of a report list view, as the list reports it.
void ClickCell(HWND window, HWND list, int row, int col) {
  NMITEMACTIVATE click{};
  click.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(NM_CLICK)};
  click.iItem = row;
  click.iSubItem = col;
  SendMessageW(window, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

void EditGridCell(HWND window, int row, int col, const wchar_t* text) {
  HWND grid = Item(window, Ctl::sgPages);
  NMITEMACTIVATE click{};
  click.hdr = {grid, static_cast<UINT_PTR>(GetDlgCtrlID(grid)), static_cast<UINT>(NM_CLICK)};
  click.iItem = row - 1;
  click.iSubItem = col;
  SendMessageW(window, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  Type(Descendant(window, ids::kPagesGridEditor), text);
}

// The window as the screen shows it, written as a PNG into the screenshot folder.
void Shot(HWND window, const wchar_t* name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
            static_cast<std::uint8_t*>(bits)[y * stride + x * 3 + (2 - c)];
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  CHECK(qb::test::WritePng(g_shots + L"\\" + name + L".png", width, height, rgb));
}

// The shown controls on the page that holds control: no two overlap, each lies wholly inside the
// group box its centre is in, and no label or check box cuts its caption off.
void CheckPageLayout(HWND control, const char* when) {
  struct Shown {
    HWND window;
    RECT r;
    bool group;
  };
  std::vector<Shown> shown;
  for (HWND c = GetWindow(GetParent(control), GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    Shown item{c, {}, (GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX};
    GetWindowRect(c, &item.r);
    shown.push_back(item);
  }
  const auto name = [](HWND c) {
    wchar_t text[256] = {};
    GetWindowTextW(c, text, 256);
    return std::to_string(GetDlgCtrlID(c)) + " '" + Narrow(text) + "'";
  };
  const auto fail = [&](const std::string& what) {
    ++g_failures;
    std::printf("FAILED %s: %s\n", when, what.c_str());
  };
  for (const Shown& a : shown) {
    for (const Shown& b : shown) {
      RECT common;
      if (&a < &b && a.group == b.group && IntersectRect(&common, &a.r, &b.r))
        fail(name(a.window) + " overlaps " + name(b.window));
      const POINT centre{(a.r.left + a.r.right) / 2, (a.r.top + a.r.bottom) / 2};
      const bool out = a.r.left < b.r.left + 4 || a.r.right > b.r.right - 4 || a.r.top < b.r.top + 8 ||
                       a.r.bottom > b.r.bottom - 4;
      if (!a.group && b.group && PtInRect(&b.r, centre) && out)
        fail(name(a.window) + " sticks out of the group " + name(b.window));
    }
    wchar_t cls[32] = {}, text[512] = {};
    GetClassNameW(a.window, cls, 32);
    GetWindowTextW(a.window, text, 512);
    const bool label = std::wstring(cls) == L"Static";
    if (a.group || text[0] == 0 || (!label && std::wstring(cls) != L"Button")) continue;
    RECT inside, need;
    GetClientRect(a.window, &inside);
    need = {0, 0, inside.right - (label ? 0 : GetSystemMetrics(SM_CXMENUCHECK) + 4), 0};
    HDC dc = GetDC(a.window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(a.window, WM_GETFONT, 0, 0)));
    const int width = need.right;
    DrawTextW(dc, text, -1, &need, DT_CALCRECT | DT_NOPREFIX | (label ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(a.window, dc);
    if (need.right > width || need.bottom > inside.bottom) fail(name(a.window) + " cuts its caption off");
  }
}

// Sizes the window as the user can make it smallest (as the window itself answers), or back to
// the rectangle given.
RECT SizeWindow(HWND window, const RECT* to) {
  RECT before;
  GetWindowRect(window, &before);
  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const SIZE size = to ? SIZE{to->right - to->left, to->bottom - to->top}
                       : SIZE{limits.ptMinTrackSize.x, limits.ptMinTrackSize.y};
  SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return before;
}

std::vector<std::string> Texts(const std::vector<char*>& slots) {
  std::vector<std::string> texts;
  for (char* s : slots) texts.emplace_back(s ? s : "<null>");
  return texts;
}

// Runs the plug-in call on this thread while session drives its window from another.
DWORD WINAPI RunSession(void* session) {
  (*static_cast<const std::function<void()>*>(session))();
  return 0;
}

int WhileDriving(const std::function<int()>& call, const std::function<void()>& session) {
  HANDLE driver = CreateThread(nullptr, 0, RunSession, const_cast<std::function<void()>*>(&session), 0, nullptr);
  const int result = call();
  WaitForSingleObject(driver, INFINITE);
  CloseHandle(driver);
  return result;
}

void DesignerSession(const std::string& project) {
  HWND w = WaitWindow(L"QuillbarrowDesigner");
  if (w == nullptr) return;
  wchar_t caption[512] = {};
  GetWindowTextW(w, caption, 512);
  CHECK(Narrow(caption) == "Kettlebourne Database Designer - " + project + " *");
  CHECK(SendMessageW(Item(w, Ctl::Tabs), TCM_GETCURSEL, 0, 0) == 1);

  ShowTab(w, 0);
  Type(Item(w, Ctl::edProjectName), L"GUI Shop");
  // A new project ships Bootstrap; the box is only open to bootstrap5, and cleared it means the CDN.
  HWND ship = Item(w, Ctl::chkShipBootstrap);
  CHECK(SendMessageW(ship, BM_GETCHECK, 0, 0) == BST_CHECKED && IsWindowEnabled(ship));
  Pick(w, Item(w, Ctl::cbCSS), 1);
  CHECK(!IsWindowEnabled(ship) && SendMessageW(ship, BM_GETCHECK, 0, 0) == BST_CHECKED);
  Shot(w, L"designer-project-tailwind");
  Pick(w, Item(w, Ctl::cbCSS), 0);
  CHECK(IsWindowEnabled(ship));
  Click(ship);
  CHECK(SendMessageW(ship, BM_GETCHECK, 0, 0) == BST_UNCHECKED);
  CHECK(!IsWindowEnabled(Item(w, Ctl::edHost)));
  Pick(w, Item(w, Ctl::cbEngine), 1);
  CHECK(IsWindowEnabled(Item(w, Ctl::edHost)));
  CHECK(IsWindowVisible(Item(w, Ctl::edProjectName)) && !IsWindowVisible(Item(w, Ctl::lbTables)));
  Shot(w, L"designer-project");

  // Sign-in and two roles; admin's entry cannot be renamed or removed.
  HWND roles = Item(w, Ctl::lbRoles);
  CHECK(!IsWindowEnabled(Item(w, Ctl::btnRemoveRole)) && !IsWindowEnabled(Item(w, Ctl::edRoleName)));
  Click(Item(w, Ctl::chkSignIn));
  for (const wchar_t* role : {L"editor", L"viewer", L"guest"}) {
    Click(Item(w, Ctl::btnAddRole));
    Type(Item(w, Ctl::edRoleName), role);
  }
  Click(Item(w, Ctl::btnRemoveRole));
  CHECK(SendMessageW(roles, LB_GETCOUNT, 0, 0) == 3);
  wchar_t entry[256] = {};
  SendMessageW(roles, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(entry));
  CHECK(Narrow(entry) == "viewer");
  PickListEntry(w, roles, 1);
  CHECK(Text(Item(w, Ctl::edRoleName)) == "editor" && IsWindowEnabled(Item(w, Ctl::btnRemoveRole)));
  Shot(w, L"designer-roles");

  ShowTab(w, 1);
  Click(Item(w, Ctl::btnAddTable));
  Type(Item(w, Ctl::edTableName), L"Customers");
  CHECK(Text(Item(w, Ctl::edTableId)) == "customers");
  wchar_t row[256] = {};
  SendMessageW(Item(w, Ctl::lbTables), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
  CHECK(Narrow(row) == "customers  -  Customers");
  Click(Item(w, Ctl::btnAddField));
  Type(Item(w, Ctl::edFieldLabel), L"E-mail");
  CHECK(Text(Item(w, Ctl::edFieldName)) == "e_mail");
  Pick(w, Item(w, Ctl::cbFieldType), 8);
  CHECK(ListView_GetItemCount(Item(w, Ctl::lvFields)) == 2);
  Click(Item(w, Ctl::chkUnique));
  Shot(w, L"designer-tables");

  // The filter is open only to the types the list's filter bar offers; the table exports and, taken
  // back, does not import.
  HWND filter = Item(w, Ctl::chkFilter);
  CHECK(!IsWindowEnabled(filter));
  Click(Item(w, Ctl::btnAddField));
  Type(Item(w, Ctl::edFieldLabel), L"Joined");
  Click(filter);
  CHECK(!IsWindowEnabled(filter) && SendMessageW(filter, BM_GETCHECK, 0, 0) == BST_UNCHECKED);
  Pick(w, Item(w, Ctl::cbFieldType), 5);
  CHECK(IsWindowEnabled(filter));
  Click(filter);
  for (Ctl box : {Ctl::chkExportCsv, Ctl::chkImportCsv, Ctl::chkImportCsv}) Click(Item(w, box));
  CHECK(SendMessageW(filter, BM_GETCHECK, 0, 0) == BST_CHECKED);
  CHECK(SendMessageW(Item(w, Ctl::chkExportCsv), BM_GETCHECK, 0, 0) == BST_CHECKED);
  CHECK(SendMessageW(Item(w, Ctl::chkImportCsv), BM_GETCHECK, 0, 0) == BST_UNCHECKED);
  Shot(w, L"designer-list-options");

  // Access by role: without a limit the grid is disabled; limited, viewer may not add and editor
  // sees only its own records.
  HWND access = Item(w, Ctl::lvAccess);
  CHECK(ListView_GetItemCount(access) == 3 && !IsWindowEnabled(access));
  Shot(w, L"designer-access-unlimited");
  Click(Item(w, Ctl::chkLimitAccess));
  CHECK(IsWindowEnabled(access));
  ClickCell(w, access, 2, 2);
  ClickCell(w, access, 1, 5);
  ClickCell(w, access, 0, 1);
  CHECK(ListView_GetNextItem(access, -1, LVNI_SELECTED) == -1);
  Shot(w, L"designer-access");

  // Customers get a detail page and full-text search, "joined" an index (closed to long text);
  // orders' lookup of customers is listed there and deleted with it. The relation settings are
  // closed to other types.
  for (Ctl box : {Ctl::chkDetailPage, Ctl::chkFullTextSearch}) Click(Item(w, box));
  HWND index = Item(w, Ctl::chkIndex), list_on_parent = Item(w, Ctl::chkListOnParent);
  HWND on_delete = Item(w, Ctl::cbOnDelete);
  Click(index);
  Click(Item(w, Ctl::btnAddTable));
  Type(Item(w, Ctl::edTableName), L"Orders");
  Click(Item(w, Ctl::btnAddField));
  Type(Item(w, Ctl::edFieldLabel), L"Customer");
  CHECK(!IsWindowEnabled(list_on_parent) && !IsWindowEnabled(on_delete) && IsWindowEnabled(index));
  Pick(w, Item(w, Ctl::cbFieldType), 1);
  Click(index);
  CHECK(!IsWindowEnabled(index) && SendMessageW(index, BM_GETCHECK, 0, 0) == BST_UNCHECKED);
  Pick(w, Item(w, Ctl::cbFieldType), 13);
  CHECK(IsWindowEnabled(list_on_parent) && IsWindowVisible(on_delete) && IsWindowEnabled(on_delete));
  CHECK(SendMessageW(on_delete, CB_GETCURSEL, 0, 0) == 0);
  Click(list_on_parent);
  Pick(w, on_delete, 2);
  CHECK(SendMessageW(list_on_parent, BM_GETCHECK, 0, 0) == BST_CHECKED);
  CheckPageLayout(on_delete, "the tables tab");
  Shot(w, L"designer-relations");
  const RECT full = SizeWindow(w, nullptr);
  RECT client;
  GetClientRect(w, &client);
  CHECK(client.right == ids::kMinWidth && client.bottom == ids::kMinHeight);
  CheckPageLayout(on_delete, "the tables tab at the smallest size");
  Shot(w, L"designer-relations-smallest");
  SizeWindow(w, &full);

  ShowTab(w, 2);
  Click(Item(w, Ctl::btnAddPage));
  EditGridCell(w, 2, 1, L"Frequently asked");
  Type(Item(w, Ctl::edPageContent), L"Questions and answers");
  Shot(w, L"designer-pages");

  ShowTab(w, 3);
  const std::string preview = Lines(Item(w, Ctl::mmPreview));
  CHECK(preview.starts_with("{\n  \"schemaVersion\": "));
  CHECK(preview.find("\n    \"name\": \"GUI Shop\",\n") != std::string::npos);
  CHECK(preview.find("\n    \"cssFramework\": \"bootstrap5\",\n") != std::string::npos);
  CHECK(preview.find("\n    \"assets\": \"cdn\"\n") != std::string::npos);
  CHECK(preview.find("\"Frequently asked\"") != std::string::npos);
  CHECK(preview.find("\n        \"access\": {\n          \"view\": [\n            \"editor\",\n            \"viewer\"\n"
                     "          ],\n          \"add\": [\n            \"editor\"\n          ],\n") != std::string::npos);
  CHECK(preview.find("\"ownRecordsOnly\": [\n            \"editor\"\n          ]\n        },\n"
                     "        \"export\": true,\n        \"detailPage\": true,\n"
                     "        \"fullTextSearch\": true\n      },\n") != std::string::npos);
  CHECK(preview.find("\n            \"help\": \"\",\n            \"filter\": true,\n"
                     "            \"index\": true\n          }\n") != std::string::npos);
  CHECK(preview.find("\"entity\": \"customers\",\n              \"field\": \"\"\n            },\n"
                     "            \"help\": \"\",\n            \"listOnParent\": true,\n"
                     "            \"onDelete\": \"cascade\"\n          }\n") != std::string::npos);
  CHECK(preview.find("\n            \"name\": \"joined\",\n") != std::string::npos);
  CHECK(preview.find("\"import\"") == std::string::npos);
  CHECK(preview.find("\n  \"security\": {\n    \"signIn\": true,\n    \"roles\": [\n      \"editor\",\n"
                     "      \"viewer\"\n    ]\n  }") != std::string::npos);
  Shot(w, L"designer-preview");
  Click(Item(w, Ctl::btnSaveAndClose));
}

std::string ReadFileText(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void PressKey(HWND control, WPARAM key) {
  PostMessageW(control, WM_KEYDOWN, key, 0);
  Sleep(300);
}

HWND RowEdit(HWND w, int row) { return GetDlgItem(w, ids::kRowBase + ids::kRowStride * row + ids::kRowEdit); }

}  // namespace

// Waits for a designer window with this caption and closes it with "Cancel".
int CancelDesigner(const wchar_t* caption) {
  HWND w = WaitWindow(L"QuillbarrowDesigner");
  if (w == nullptr) return 1;
  wchar_t shown[512] = {};
  GetWindowTextW(w, shown, 512);
  CHECK(std::wstring(shown) == caption);
  Click(Item(w, Ctl::btnCancel));
  return g_failures == 0 ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 3 && std::wstring(argv[1]) == L"--cancel-designer") return CancelDesigner(argv[2]);
  if (argc != 4) {
    std::printf("usage: designer_gui_test PLUGIN WORK_FOLDER SCREENSHOT_FOLDER\n");
    return 2;
  }
  g_shots = argv[3];
  HMODULE plugin = LoadLibraryW(argv[1]);
  if (plugin == nullptr) {
    std::printf("FAILED: cannot load %ls\n", argv[1]);
    return 1;
  }
  auto exec = Export<ExecFn>(plugin, "nbExecAction");
  auto edit = Export<ExecFn>(plugin, "nbEditAction");
  Export<RegisterFn>(plugin, "nbRegisterPlugIn")(nullptr, nullptr, nullptr, reinterpret_cast<void*>(&OnSetVariable));

  // The design action: edit a new project and save it with "Save && Close".
  const std::string project = Narrow(argv[2]) + "\\gui-project.json";
  std::vector<char*> design = Slots({project, "[R]"});
  const int designed = WhileDriving([&] { return exec(8, design.data(), 1); }, [&] { DesignerSession(project); });
  CHECK(designed == 1);
  CHECK(g_writes.size() == 1 && g_writes[0].second == "OK|" + project);
  const std::string saved = ReadFileText(project);
  for (const char* expected : {"\"name\": \"GUI Shop\"", "\"database\": \"mysql\"", "\"id\": \"customers\"",
                               "\"name\": \"e_mail\"", "\"type\": \"email\"", "\"unique\": true",
                               "\"title\": \"Frequently asked\"", "\"content\": \"Questions and answers\"",
                               "\"signIn\": true", "\"assets\": \"cdn\"", "\"filter\": true", "\"export\": true",
                               "\"detailPage\": true", "\"fullTextSearch\": true", "\"index\": true",
                               "\"listOnParent\": true", "\"onDelete\": \"cascade\"",
                               "\"ownRecordsOnly\": [\r\n            \"editor\"\r\n"})
    if (saved.find(expected) == std::string::npos) {
      ++g_failures;
      std::printf("FAILED: the saved project lacks %s\n", expected);
    }
  CHECK(saved.find("\"import\"") == std::string::npos);

  // The properties dialog of the CRUD action: defaults shown, OK writes the slots.
  std::vector<char*> crud = Slots({"", "", "", "", "", ""});
  const int confirmed = WhileDriving([&] { return edit(7, crud.data(), 5); }, [&] {
    HWND w = WaitWindow(L"QuillbarrowActionEditor");
    if (w == nullptr) return;
    wchar_t title[256] = {};
    GetWindowTextW(w, title, 256);
    CHECK(Narrow(title) == "KTBGenerateCRUDApplication Properties");
    CHECK(Text(RowEdit(w, 0)) == "C:\\QuillbarrowDemo\\demo.json");
    CHECK(Text(RowEdit(w, 4)) == "#2563eb");
    CHECK(!IsWindowVisible(RowEdit(w, 2)));
    HWND preset = GetDlgItem(w, ids::kRowBase + ids::kRowStride * 2 + ids::kRowCombo);
    CHECK(SendMessageW(preset, CB_GETCURSEL, 0, 0) == 0);
    Shot(w, L"properties-action7");
    Type(RowEdit(w, 1), L"C:\\sites\\shop");
    Pick(w, preset, 1);
    Click(GetDlgItem(w, IDOK));
  });
  CHECK(confirmed == 1);
  CHECK(Texts(crud) == (std::vector<std::string>{"C:\\QuillbarrowDemo\\demo.json", "C:\\sites\\shop", "midnight",
                                                 "dashboard", "#2563eb", "[KTBCRUDResult]"}));

  // The plan action's dialog, left with Escape: nothing is written.
  std::vector<char*> plan = Slots({"p.json", "", "[Plan]"});
  const std::vector<char*> before = plan;
  const int cancelled = WhileDriving([&] { return edit(5, plan.data(), 2); }, [&] {
    HWND w = WaitWindow(L"QuillbarrowActionEditor");
    if (w == nullptr) return;
    CHECK(Text(RowEdit(w, 1)) == "C:\\QuillbarrowDemo\\output\\library-demo-plan.json");
    Shot(w, L"properties-action5");
    Type(RowEdit(w, 0), L"changed.json");
    PostMessageW(RowEdit(w, 0), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  CHECK(cancelled == 0);
  CHECK(plan == before);
  CHECK(Texts(plan) == (std::vector<std::string>{"p.json", "", "[Plan]"}));

  // The version action's dialog: Tab visits every control in order and comes back to the edit,
  // where Enter confirms the dialog.
  std::vector<char*> version = Slots({""});
  const int entered = WhileDriving([&] { return edit(1, version.data(), 0); }, [&] {
    HWND w = WaitWindow(L"QuillbarrowActionEditor");
    if (w == nullptr) return;
    const HWND order[] = {RowEdit(w, 0), GetDlgItem(w, ids::kRowBase + ids::kRowFirstButton + 4),
                          GetDlgItem(w, ids::kPublicationButton), GetDlgItem(w, ids::kEmbeddedFilesButton),
                          GetDlgItem(w, IDOK), GetDlgItem(w, IDCANCEL), RowEdit(w, 0)};
    CHECK(FocusOf(w) == order[0]);
    for (std::size_t i = 1; i < std::size(order); ++i) {
      PressKey(order[i - 1], VK_TAB);
      CHECK(FocusOf(w) == order[i]);
    }
    PressKey(RowEdit(w, 0), VK_RETURN);
  });
  CHECK(entered == 1);
  CHECK(Texts(version) == std::vector<std::string>{"[KTBVersion]"});

  std::printf("%s: %d failure(s)\n", g_failures == 0 ? "designer GUI test passed" : "designer GUI test FAILED",
              g_failures);
  return g_failures == 0 ? 0 : 1;
}
