// Platform seam of the command-line host: loading the plug-in and the process's own location.
#pragma once

#include <string>

namespace qb::cli {

class DynamicLibrary {
 public:
  // Throws std::runtime_error when the library cannot be loaded.
  explicit DynamicLibrary(const std::string& path);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Throws std::runtime_error when the library has no such export.
  void* Symbol(const char* name) const;

 private:
  void* handle_;
};

// The plug-in's file next to the running executable.
std::string DefaultPluginPath();

// Releases a text block the plug-in handed to the host.
void FreePluginBlock(char* block);

// Makes stdout and stderr pass bytes through unchanged.
void UseBinaryOutput();

}  // namespace qb::cli
