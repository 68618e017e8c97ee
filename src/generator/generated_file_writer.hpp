// Writes generated files, refusing any path that could leave the output directory.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/text_file.hpp"

namespace qb::gen {

// Throws std::runtime_error for an empty, rooted or drive path, or a "." / ".." segment.
void CheckGeneratedPath(std::string_view relative_path);

// The folder of one generated application, made absolute once. Relative paths take "/" or "\"
// separators; empty segments are skipped.
class GeneratedFolder {
 public:
  explicit GeneratedFolder(std::string_view output_dir);

  const std::string& path() const { return dir_; }
  // The full path of a file, without checks.
  std::string Full(std::string_view relative_path) const;
  std::string Read(std::string_view relative_path) const;
  bool Exists(std::string_view relative_path) const;
  // Writes text as UTF-8 without byte-order mark, folders created, file replaced. Throws
  // std::runtime_error on an unsafe path (see CheckGeneratedPath) or a write failure.
  void Write(std::string_view relative_path, std::string_view text) const;
  // The same for a text produce hands to the sink in pieces; the file is replaced in one step.
  void WriteInPieces(std::string_view relative_path, const std::function<void(const TextSink&)>& produce) const;

 private:
  std::string dir_;
};

}  // namespace qb::gen
