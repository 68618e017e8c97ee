// Marks a programmatic fill of the controls, so change handlers do not take it for a user edit.
#pragma once

namespace qb::designer {

class LoadingScope {
 public:
  explicit LoadingScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~LoadingScope() { flag_ = previous_; }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace qb::designer
