// Where the designer's controls sit at 96 DPI in the 1060 x 690 client area, and how they
// follow the window when it is resized.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "designer/designer_controls.hpp"

namespace qb::designer::win32 {

enum Anchor : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

enum class Kind { Label, GreyLabel, WrappedLabel, Group, Panel, Edit, Password, Memo, Preview, Combo, List,
                  ListView, Grid, CheckGrid, Check, Button, Tabs };

struct Placement {
  Kind kind;
  int ctl;  // position in Ctl, or -1 for a fixed label or frame
  int tab;  // the tab page it sits on, -1 for the window's own
  std::string_view text;
  int x, y, width, height;
  unsigned anchors;
};

inline constexpr int kDesignWidth = 1060;
inline constexpr int kDesignHeight = 690;
inline constexpr int kMinWidth = 980;
inline constexpr int kMinHeight = 640;

// Every control of the window in creation order (frames before what they hold).
const std::vector<Placement>& DesignerPlacements();

// The rectangle of p in a client area of width x height (both at 96 DPI).
RECT Anchored(const Placement& p, int width, int height);

}  // namespace qb::designer::win32
