// The generated application's Tailwind stylesheet, compiled at build time by the npm package pinned
// in package-lock.json (cmake/embed_tailwind.cmake) over the templates and the generator's sources.
#pragma once

#include <string_view>

namespace qb::gen {

// Minified, as `npm run build:css` of the generated application writes it.
std::string_view TailwindCss();

// The package's version, "3.4.17".
std::string_view TailwindVersion();

}  // namespace qb::gen
