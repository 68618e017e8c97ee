// Safe writer of generated files.
#include "generator/generated_file_writer.hpp"

#include <stdexcept>

#include "core/paths.hpp"
#include "core/text_file.hpp"
#include "core/utf8.hpp"

namespace qb::gen {

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
  const std::string dir = ExpandPath(output_dir);
  const std::string full = ExpandPath(PathToUtf8(PathFromUtf8(dir) / PathFromUtf8(relative_path).make_preferred()));
  if (!SameTextAscii(full, dir) && !IsBelowFolder(full, dir))
    throw std::runtime_error("Generated path escapes output directory: " + std::string(relative_path));
  WriteTextFile(full, text);
}

}  // namespace qb::gen
