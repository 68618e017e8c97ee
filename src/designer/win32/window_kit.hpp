// Small pieces every designer window needs: DPI scaling, fonts, child controls, tooltips,
// visual styles and the owner-less modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace qb::designer::win32 {

// Pixels at 96 DPI scaled to the screen's DPI.
struct Scale {
  int dpi = 96;
  int operator()(int pixels) const { return MulDiv(pixels, dpi, 96); }
};
Scale ScreenScale();

// A font by face name at a point size. When the face is missing: the platform's default UI font,
// or for monospace any fixed-pitch font.
HFONT CreatePointFont(const wchar_t* face, int points, const Scale& scale, bool monospace = false);

// A child control with the font set; rectangles are given at 96 DPI.
HWND AddControl(HWND parent, const wchar_t* window_class, std::wstring_view text, DWORD style, int id, int x, int y,
                int width, int height, const Scale& scale, HFONT font, DWORD ex_style = 0);

// A tooltip window for the controls of parent; AddHint shows text over control.
HWND CreateHints(HWND parent);
void SetHint(HWND hints, HWND control, std::wstring_view text);

// Common controls 6 (visual styles) for the windows of this module while the object lives.
class VisualStyles {
 public:
  VisualStyles();
  ~VisualStyles();
  VisualStyles(const VisualStyles&) = delete;
  VisualStyles& operator=(const VisualStyles&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// Wakes the modal loop of window so that it sees a close that happened outside its own dispatch
// (for example in a message sent from another thread).
inline void WakeModalLoop(HWND window) { PostMessageW(window, WM_NULL, 0, 0); }

// Shows window and runs its messages until closed() is true, with the thread's other windows
// disabled; destroys the window afterwards. A quit request is handed back to the caller's loop.
void RunModal(HWND window, const std::function<bool()>& closed);

// WM_ACTIVATE of a top window: leaving it (for a message box or a file dialog, say) remembers the
// focused control in focus, coming back gives it the focus again, as a dialog box does. True when
// the message is answered.
bool KeepFocusAcrossActivation(HWND window, WPARAM w, HWND& focus);

// The window's text as UTF-8.
std::string WindowText(HWND window);

// The view object of a window created with it as the creation parameter; nullptr before that.
// The view's Attach(window) runs once, on WM_CREATE.
template <typename View>
View* AttachedView(HWND window, UINT message, LPARAM l) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
  auto* view = reinterpret_cast<View*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view != nullptr && message == WM_CREATE) view->Attach(window);
  return view;
}

// Registers a window class once per process; the window procedure forwards to the object whose
// pointer is passed as the creation parameter.
void RegisterViewClass(const wchar_t* name, WNDPROC procedure);
HINSTANCE ModuleInstance();

}  // namespace qb::designer::win32
