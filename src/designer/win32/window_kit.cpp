// Shared window plumbing.
#include "designer/win32/window_kit.hpp"

#include <commctrl.h>

#include <vector>

#include "designer/win32/wide_text.hpp"

namespace qb::designer::win32 {
namespace {

constexpr int kManifestResource = 2;

int CALLBACK FontExists(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

BOOL CALLBACK DisableOne(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

}  // namespace

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

Scale ScreenScale() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return Scale{dpi > 0 ? dpi : 96};
}

HFONT CreatePointFont(const wchar_t* face, int points, const Scale& scale, bool monospace) {
  bool found = false;
  HDC screen = GetDC(nullptr);
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  EnumFontFamiliesExW(screen, &wanted, FontExists, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  const int height = -MulDiv(points, scale.dpi, 72);
  if (!found && monospace)
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"");
  if (!found) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
}

HWND AddControl(HWND parent, const wchar_t* window_class, std::wstring_view text, DWORD style, int id, int x, int y,
                int width, int height, const Scale& scale, HFONT font, DWORD ex_style) {
  const std::wstring caption(text);
  HWND control = CreateWindowExW(ex_style, window_class, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, scale(x),
                                 scale(y), scale(width), scale(height), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND CreateHints(HWND parent) {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, ModuleInstance(), nullptr);
}

void SetHint(HWND hints, HWND control, std::wstring_view text) {
  std::wstring copy(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(hints, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (copy.empty()) return;
  tool.lpszText = copy.data();
  SendMessageW(hints, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

VisualStyles::VisualStyles() {
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.hModule = ModuleInstance();
  context.lpResourceName = MAKEINTRESOURCEW(kManifestResource);
  HANDLE handle = CreateActCtxW(&context);
  if (handle != INVALID_HANDLE_VALUE) {
    active_ = ActivateActCtx(handle, &cookie_) != FALSE;
    ReleaseActCtx(handle);
  }
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

VisualStyles::~VisualStyles() {
  if (active_) DeactivateActCtx(0, cookie_);
}

void RunModal(HWND window, const std::function<bool()>& closed) {
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  EnableWindow(window, TRUE);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  if (GetFocus() == nullptr || !IsChild(window, GetFocus())) SetFocus(GetNextDlgTabItem(window, nullptr, FALSE));
  bool quit = false;
  WPARAM quit_code = 0;
  MSG message;
  while (!closed()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quit_code = message.wParam;
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  for (HWND other : disabled) EnableWindow(other, TRUE);
  DestroyWindow(window);
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
}

bool KeepFocusAcrossActivation(HWND window, WPARAM w, HWND& focus) {
  if (LOWORD(w) == WA_INACTIVE) {
    if (IsChild(window, GetFocus())) focus = GetFocus();
    return false;
  }
  if (focus == nullptr || !IsWindow(focus) || HIWORD(w) != 0) return false;
  SetFocus(focus);
  return true;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return Utf8(text);
}

void RegisterViewClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ModuleInstance(), name, &existing)) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ModuleInstance();
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name;
  window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  RegisterClassExW(&window_class);
}

}  // namespace qb::designer::win32
