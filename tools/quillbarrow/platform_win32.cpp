// Command-line host platform seam: LoadLibraryA and the module file name (arguments arrive in the ANSI code page, as host texts do).
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <stdexcept>

#include "platform.hpp"

namespace qb::cli {

DynamicLibrary::DynamicLibrary(const std::string& path)
    : handle_(reinterpret_cast<void*>(LoadLibraryA(path.c_str()))) {
  if (handle_ == nullptr)
    throw std::runtime_error("cannot load plug-in " + path + ": error " + std::to_string(GetLastError()));
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* DynamicLibrary::Symbol(const char* name) const {
  FARPROC symbol = GetProcAddress(static_cast<HMODULE>(handle_), name);
  if (symbol == nullptr) throw std::runtime_error(std::string("plug-in has no export ") + name);
  return reinterpret_cast<void*>(symbol);
}

std::string DefaultPluginPath() {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  std::string path(buffer, n);
  return path.substr(0, path.find_last_of("\\/") + 1) + "kdQuillbarrow.nbp";
}

void FreePluginBlock(char* block) { GlobalFree(block); }

void UseBinaryOutput() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace qb::cli
