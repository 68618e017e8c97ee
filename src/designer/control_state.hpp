// The state of one window control as plain values, mirrored by a view.
#pragma once

#include <string>
#include <vector>

namespace qb::designer {

struct ControlState {
  std::string text;                // edit, memo or label text (a list's text is its SelectedText)
  std::vector<std::string> items;  // list box and drop-down list entries
  int selected = -1;               // selected entry, -1 for none
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  std::string hint;  // tooltip; empty for none

  bool operator==(const ControlState&) const = default;

  // The selected entry's text, or empty when nothing is selected.
  std::string SelectedText() const {
    return selected >= 0 && selected < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(selected)]
                                                                       : std::string();
  }
};

}  // namespace qb::designer
