// The parameter slots of one action call, read safely.
#pragma once

#include <string>

namespace qb::host {

class ActionParams {
 public:
  ActionParams(char** slots, int last_index) : slots_(slots), last_index_(slots ? last_index : -1) {}

  // Slot i as UTF-8; a slot beyond the last index reads as the empty text.
  std::string Text(int index) const;
  int Count() const { return last_index_ + 1; }

 private:
  char** slots_;
  int last_index_;
};

}  // namespace qb::host
