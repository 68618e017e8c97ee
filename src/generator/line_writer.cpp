// Line writer.
#include "generator/line_writer.hpp"

namespace qb::gen {

LineWriter& LineWriter::Line(std::string_view text) {
  text_.append(text);
  text_.append("\r\n");
  return *this;
}

LineWriter& LineWriter::Raw(std::string_view text) {
  text_.append(text);
  return *this;
}

}  // namespace qb::gen
