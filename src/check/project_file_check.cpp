// Quick project file check.
#include "check/project_file_check.hpp"

#include <exception>
#include <filesystem>

#include "core/paths.hpp"
#include "core/utf8.hpp"

namespace qb {
namespace {

bool EndsWithSeparator(std::string_view path) {
  return path.ends_with('/') || (std::filesystem::path::preferred_separator == '\\' && path.ends_with('\\'));
}

// The absolute path; a trailing separator stays, so "project.json/" does not name the file.
std::string FullPath(std::string_view path) {
  std::string full = ExpandPath(path);
  if (EndsWithSeparator(path) && !EndsWithSeparator(full))
    full += static_cast<char>(std::filesystem::path::preferred_separator);
  return full;
}

}  // namespace

std::string CheckProjectFile(std::string_view path) {
  if (Trim(path).empty()) return "ERROR|Project file path is empty";
  try {
    const std::string full = FullPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathFromUtf8(full), ec))
      return "ERROR|Project file does not exist: " + full;
    if (!HasJsonExtension(full))
      return "WARNING|File exists but does not have a .json extension: " + full;
    return "OK|Project file exists: " + full;
  } catch (const std::exception& e) {
    return std::string("ERROR|") + e.what();
  }
}

}  // namespace qb
