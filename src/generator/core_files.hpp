// Front controller, router and core classes of the generated application (constant texts).
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

std::string BuildFrontController(bool api_enabled);  // public/index.php
std::string BuildUrlFunctions();                      // app/Core/Url.php
std::string BuildRouter();                            // app/Core/Router.php
std::string BuildBaseController();                    // app/Core/Controller.php
std::string BuildViewStub();                          // app/Core/View.php
std::string BuildCsrf();                              // app/Core/Csrf.php
std::string BuildSession();                           // app/Core/Session.php
std::string BuildHomeController();                    // app/Controllers/HomeController.php

// A require line of public/index.php, CR LF included; file is relative to app/.
std::string FrontControllerRequireLine(std::string_view file);
// The HomeController line, below which page and CRUD controllers are registered.
inline const std::string kHomeRequireLine = FrontControllerRequireLine("Controllers/HomeController.php");

}  // namespace qb::gen
