// The constant files of the generated application, embedded from templates/ with CR LF line ends.
#pragma once

#include <string_view>
#include <vector>

namespace qb::gen {

struct TemplateFile {
  std::string_view path;  // relative to templates/, "/" separators
  std::string_view text;
};

const std::vector<TemplateFile>& AllTemplates();

// The text of one template; throws std::logic_error when there is none (a build fault).
std::string_view Template(std::string_view path);

}  // namespace qb::gen
