// Safe writer of generated files.
#include "generator/generated_file_writer.hpp"

#include <stdexcept>

#include "core/paths.hpp"
#include "core/text_file.hpp"
#include "core/utf8.hpp"

namespace qb::gen {
namespace {

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

bool IsInside(const std::string& path, const std::string& dir) {
  const std::string base = WithoutTrailingSeparators(dir);
  const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
  return SameTextAscii(path, base) ||
         (path.size() > base.size() + 1 && SameTextAscii(path.substr(0, base.size() + 1), base + sep));
}

}  // namespace

void CheckGeneratedPath(std::string_view relative_path) {
  std::string p(relative_path);
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || p.front() == '/' || p.find(':') != std::string::npos)
    throw std::runtime_error("Unsafe generated path: " + std::string(relative_path));
  std::size_t start = 0;
  while (start <= p.size()) {
    const std::size_t end = std::min(p.find('/', start), p.size());
    const std::string_view segment = std::string_view(p).substr(start, end - start);
    if (segment == "." || segment == "..")
      throw std::runtime_error("Unsafe generated path segment: " + std::string(relative_path));
    start = end + 1;
  }
}

void WriteGeneratedFile(std::string_view output_dir, std::string_view relative_path, std::string_view text) {
  CheckGeneratedPath(relative_path);
  std::string joined = PathToUtf8(PathFromUtf8(output_dir) / PathFromUtf8(relative_path).make_preferred());
  const std::string full = ExpandPath(joined);
  if (!IsInside(full, std::string(output_dir)))
    throw std::runtime_error("Generated path escapes output directory: " + std::string(relative_path));
  WriteTextFile(full, text);
}

}  // namespace qb::gen
