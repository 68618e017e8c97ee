// Host seam on Windows: the ANSI code page and global memory.
#include <windows.h>

#include "plugin/host_platform.hpp"

namespace qb::host {
namespace {

std::wstring ToWide(std::string_view text, UINT code_page) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// A character the code page lacks becomes its default character ("?"), never a look-alike such as
// "8" for "\u221E" or "/" for "\u2215", which would change what a path or a value means.
std::string FromWide(const std::wstring& wide, UINT code_page) {
  if (wide.empty()) return {};
  const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int n = WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr,
                      nullptr);
  return text;
}

}  // namespace

std::string ToHostEncoding(std::string_view utf8) { return FromWide(ToWide(utf8, CP_UTF8), CP_ACP); }
std::string FromHostEncoding(std::string_view host_text) { return FromWide(ToWide(host_text, CP_ACP), CP_UTF8); }

char* AllocHostBlock(std::size_t size) { return static_cast<char*>(GlobalAlloc(GMEM_FIXED, size)); }
void FreeHostBlock(char* block) { GlobalFree(block); }

}  // namespace qb::host
