// Template lookup.
#include "generator/templates.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace qb::gen {

std::string_view Template(std::string_view path) {
  const auto& all = AllTemplates();
  auto it = std::find_if(all.begin(), all.end(), [&](const TemplateFile& t) { return t.path == path; });
  if (it == all.end()) throw std::logic_error("missing template " + std::string(path));
  return it->text;
}

}  // namespace qb::gen
