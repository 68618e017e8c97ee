// Assets, Tailwind, PWA and API files of the generated application.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

std::string BuildAppJs();                                   // public/assets/js/app.js
std::string BuildStylesheet(std::string_view css_framework);  // public/assets/css/app.css (Tailwind's compiled)
std::string BuildTailwindSource();                          // resources/css/app.css
std::string BuildPackageJson();                             // package.json
std::string BuildTailwindConfig();                          // tailwind.config.js
std::string BuildApiHealth();                               // public/api/health.php
std::string BuildApiRoutes();                               // routes/api.php
std::string BuildManifest(std::string_view app_name, std::string_view project_id);  // public/manifest.webmanifest
std::string BuildServiceWorker();                           // public/sw.js

}  // namespace qb::gen
