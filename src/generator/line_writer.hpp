// Builds generated text line by line; every line ends in CR LF.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

class LineWriter {
 public:
  // One line; the CR LF is added here.
  LineWriter& Line(std::string_view text = {});
  // Text that already ends its lines in CR LF (a template), appended as it is.
  LineWriter& Raw(std::string_view text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace qb::gen
