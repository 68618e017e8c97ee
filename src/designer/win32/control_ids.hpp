// Control identifiers of the two windows, shared with the tests that drive them.
#pragma once

namespace qb::designer::win32 {

// Designer: kDesignerControlBase + the control's position in Ctl.
inline constexpr int kDesignerControlBase = 1000;
// Designer pages grid: the list and its cell editor.
inline constexpr int kPagesGridEditor = 1900;

// Properties dialog: row i uses kRowBase + kRowStride * i + offset.
inline constexpr int kRowBase = 2000;
inline constexpr int kRowStride = 10;
inline constexpr int kRowEdit = 0;
inline constexpr int kRowCombo = 1;
inline constexpr int kRowFirstButton = 2;  // + the RowButton value
inline constexpr int kPublicationButton = 3001;
inline constexpr int kEmbeddedFilesButton = 3002;

}  // namespace qb::designer::win32
