// Bootstrap's files from the npm package pinned in package-lock.json, embedded at build time
// (cmake/embed_vendor.cmake).
#pragma once

#include <string_view>
#include <vector>

#include "generator/templates.hpp"

namespace qb::gen {

// Where a project with target.assets "local" gets them, below public/.
inline constexpr std::string_view kBootstrapFolder = "assets/vendor/bootstrap/";

// "css/bootstrap.min.css" (without its source map comment) and "LICENSE", as the package has them.
const std::vector<TemplateFile>& BootstrapFiles();

// The package's version, "5.3.3".
std::string_view BootstrapVersion();

// "sha384-..." of the package's dist/css/bootstrap.min.css as published, which the CDN serves.
std::string_view BootstrapCssIntegrity();

}  // namespace qb::gen
