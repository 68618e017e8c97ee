// Front controller, router and core classes of the generated application.
#include "generator/core_files.hpp"

#include "generator/templates.hpp"

namespace qb::gen {

// The text is the same with and without the API: its routes live in routes/api.php.
std::string BuildFrontController(bool /*api_enabled*/) { return std::string(Template("public/index.php")); }
std::string BuildUrlFunctions() { return std::string(Template("app/Core/Url.php")); }
std::string BuildRouter() { return std::string(Template("app/Core/Router.php")); }
std::string BuildBaseController() { return std::string(Template("app/Core/Controller.php")); }
std::string BuildViewStub() { return std::string(Template("app/Core/View.php")); }
std::string BuildCsrf() { return std::string(Template("app/Core/Csrf.php")); }
std::string BuildSession() { return std::string(Template("app/Core/Session.php")); }
std::string BuildHomeController() { return std::string(Template("app/Controllers/HomeController.php")); }

std::string FrontControllerRequireLine(std::string_view file) {
  return "require_once dirname(__DIR__) . '/app/" + std::string(file) + "';\r\n";
}

}  // namespace qb::gen
