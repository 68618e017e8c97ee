// Visual theme of the CRUD application: preset, page layout and accent colour.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

inline constexpr std::string_view kDefaultPreset = "studio";
inline constexpr std::string_view kDefaultLayout = "dashboard";
inline constexpr std::string_view kDefaultAccent = "#2563eb";

// Trimmed and lower-cased; an unknown value gives the default.
std::string NormalizePreset(std::string_view preset);
std::string NormalizeLayout(std::string_view layout);
// "#" and six hexadecimal digits, trimmed, letter case kept; anything else gives the default.
std::string NormalizeAccent(std::string_view accent);

// The theme stylesheet appended to public/assets/css/app.css.
std::string BuildThemeCss(std::string_view accent);

}  // namespace qb::gen
