// Layout, content pages, navigation, routes and models of the generated application.
#pragma once

#include <string>
#include <string_view>

#include "core/json_value.hpp"

namespace qb::gen {

// app/Views/layouts/main.php; navigation is the ready lines of page links. Bootstrap comes from
// the application's own files when assets is "local", else from the CDN.
std::string BuildLayout(std::string_view app_name, std::string_view css_framework, std::string_view assets,
                        bool pwa_enabled, std::string_view navigation);
// The origin the layout's stylesheet comes from when it is not the application itself, else "".
std::string StylesheetOrigin(std::string_view css_framework, std::string_view assets);
// app/Controllers/<id>PageController.php
std::string BuildPageController(std::string_view page_id, std::string_view title);
// app/Views/pages/<id>.php
std::string BuildPageView(std::string_view title, std::string_view content, std::string_view template_name);
// routes/web.php from the parsed project object
std::string BuildWebRoutes(const json::Value& root);
// app/Models/<id>Model.php
std::string BuildEntityModel(std::string_view table_id, std::string_view table_name);

}  // namespace qb::gen
