// UTF-8 inside, UTF-16 for the Win32 API.
#pragma once

#include <string>
#include <string_view>

namespace qb::designer::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace qb::designer::win32
