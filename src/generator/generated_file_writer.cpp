// Safe writer of generated files.
#include "generator/generated_file_writer.hpp"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/paths.hpp"
#include "core/text_file.hpp"

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

GeneratedFolder::GeneratedFolder(std::string_view output_dir) : dir_(ExpandPath(output_dir)) {}

std::string GeneratedFolder::Full(std::string_view relative_path) const {
  constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
  std::string full = dir_;
  full.reserve(dir_.size() + relative_path.size() + 1);
  std::size_t start = 0;
  while (start < relative_path.size()) {
    const std::size_t end = std::min(relative_path.find_first_of("/\\", start), relative_path.size());
    if (end > start) {
      if (full.empty() || full.back() != kSeparator) full += kSeparator;
      full.append(relative_path.substr(start, end - start));
    }
    start = end + 1;
  }
  return full;
}

std::string GeneratedFolder::Read(std::string_view relative_path) const { return ReadTextFile(Full(relative_path)); }

bool GeneratedFolder::Exists(std::string_view relative_path) const {
  std::error_code ec;
  return std::filesystem::exists(PathFromUtf8(Full(relative_path)), ec);
}

void GeneratedFolder::Write(std::string_view relative_path, std::string_view text) const {
  CheckGeneratedPath(relative_path);
  WriteTextFile(Full(relative_path), text);
}

void GeneratedFolder::WriteInPieces(std::string_view relative_path,
                                    const std::function<void(const TextSink&)>& produce) const {
  CheckGeneratedPath(relative_path);
  ReplaceTextFileInPieces(Full(relative_path), produce);
}

}  // namespace qb::gen
