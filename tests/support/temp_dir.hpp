// A fresh temporary folder, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qb::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Absolute path of a file inside the folder, as text.
  std::string File(std::string_view relative) const;
  // Writes bytes to a file inside the folder and returns its path.
  std::string Write(std::string_view relative, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file, byte for byte.
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace qb::test
