// Output folder resolution, written on strings so both path styles behave the same on every build.
#include "designer/output_folder.hpp"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/paths.hpp"
#include "core/utf8.hpp"

namespace qb::designer {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasDrive(std::string_view p) { return p.size() >= 2 && IsAsciiLetter(p[0]) && p[1] == ':'; }

// Root part of a Windows path: "C:\", "C:", "\\server\share\" or "\"; empty when relative.
std::size_t WindowsRootLength(std::string_view p) {
  if (HasDrive(p)) return p.size() > 2 && p[2] == '\\' ? 3 : 2;
  if (p.starts_with("\\\\")) {
    std::size_t server_end = p.find('\\', 2);
    if (server_end == std::string_view::npos) return p.size();
    std::size_t share_end = p.find('\\', server_end + 1);
    return share_end == std::string_view::npos ? p.size() : share_end + 1;
  }
  return p.starts_with('\\') ? 1 : 0;
}

// root followed by the segments of rest with "." and ".." resolved; never climbs above root.
std::string Normalize(std::string_view root, std::string_view rest, char separator) {
  std::vector<std::string_view> segments;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find(separator, start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view segment = rest.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string out(root);
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) out += separator;
    out += segments[i];
  }
  return out;
}

std::string WindowsAbsolute(std::string path, std::string_view current_folder) {
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string current(current_folder);
  std::replace(current.begin(), current.end(), '/', '\\');
  if (WindowsRootLength(path) == 0) path = current + "\\" + path;
  else if (path.starts_with('\\') && !path.starts_with("\\\\") && HasDrive(current)) path = current.substr(0, 2) + path;
  std::size_t root = WindowsRootLength(path);
  std::string root_text = path.substr(0, root);
  if (root_text.size() == 2 && HasDrive(root_text)) root_text += '\\';
  else if (root_text.starts_with("\\\\") && !root_text.ends_with('\\')) root_text += '\\';
  return Normalize(root_text, std::string_view(path).substr(root), '\\');
}

std::string PosixAbsolute(std::string_view path, std::string_view current_folder) {
  const std::string joined = path.starts_with('/') ? std::string(path) : std::string(current_folder) + "/" + std::string(path);
  return Normalize("/", std::string_view(joined).substr(1), '/');
}

// Folder part of an absolute path, with its trailing separator.
std::string FolderOf(std::string_view absolute, char separator) {
  return std::string(absolute.substr(0, absolute.rfind(separator) + 1));
}

}  // namespace

std::string ResolveOutputFolderFor(std::string_view output_directory, std::string_view project_file,
                                   std::string_view current_folder, PathStyle style) {
  std::string s = Trim(output_directory);
  if (s.empty()) return s;
  if (style == PathStyle::Windows) {
    std::replace(s.begin(), s.end(), '/', '\\');
    if (WindowsRootLength(s) > 0) return s;
    const std::string base = project_file.empty() ? WindowsAbsolute(std::string(current_folder), current_folder) + "\\"
                                                  : FolderOf(WindowsAbsolute(std::string(project_file), current_folder), '\\');
    return WindowsAbsolute(base + s, current_folder);
  }
  if (s.starts_with('/')) return s;
  const std::string base = project_file.empty() ? PosixAbsolute(current_folder, "/") + "/"
                                                : FolderOf(PosixAbsolute(project_file, current_folder), '/');
  return PosixAbsolute(base + s, current_folder);
}

std::string CurrentFolder() {
  std::error_code ec;
  const std::filesystem::path current = std::filesystem::current_path(ec);
  return ec ? std::string() : PathToUtf8(current);
}

}  // namespace qb::designer
