// Command-line host platform seam: dlopen and /proc/self/exe.
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform.hpp"

namespace qb::cli {

DynamicLibrary::DynamicLibrary(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) throw std::runtime_error("cannot load plug-in " + path + ": " + dlerror());
}

DynamicLibrary::~DynamicLibrary() { dlclose(handle_); }

void* DynamicLibrary::Symbol(const char* name) const {
  void* symbol = dlsym(handle_, name);
  if (symbol == nullptr) throw std::runtime_error(std::string("plug-in has no export ") + name);
  return symbol;
}

std::string DefaultPluginPath() {
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  return (exe.parent_path() / "libkdquillbarrow.so").string();
}

void FreePluginBlock(char* block) { std::free(block); }

void UseBinaryOutput() {}

}  // namespace qb::cli
