// Accounts and sign-in of the generated application.
#include "generator/account_files.hpp"

#include <stdexcept>
#include <string>

#include "generator/core_files.hpp"
#include "generator/line_writer.hpp"
#include "generator/templates.hpp"

namespace qb::gen {
namespace {

constexpr std::string_view kConstantFiles[] = {
    "app/Core/Accounts.php",          "app/Core/Auth.php",           "app/Controllers/AccountController.php",
    "app/Views/account/login.php",    "app/Views/account/password.php", "app/Views/account/users.php",
    "app/Views/account/user.php",     "app/Views/layouts/account_menu.php", "bin/users.php",
};

constexpr std::string_view kNavigationTables = "(class_exists('Schema') ? Schema::entities() : [])";
constexpr std::string_view kHomeRoute = "$router->get('/', [HomeController::class, 'index']);\r\n";
constexpr std::string_view kHeaderEnd = "        </header>\r\n";

// Replaces the first occurrence of from, which the file must hold.
void Splice(const GeneratedFolder& files, std::string_view path, std::string_view from, const std::string& to) {
  std::string text = files.Read(path);
  const auto at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error(std::string(path) + " has no place for the account files.");
  text.replace(at, from.size(), to);
  files.Write(path, text);
}

std::string AccountRoutes() {
  LineWriter w;
  const auto route = [&](const char* verb, const char* path, const char* action) {
    w.Line(std::string("$router->") + verb + "('" + path + "', [AccountController::class, '" + action + "']);");
  };
  route("get", "/account/login", "login");
  route("post", "/account/login", "authenticate");
  route("post", "/account/logout", "logout");
  route("get", "/account/password", "password");
  route("post", "/account/password", "changePassword");
  route("get", "/account/users", "users");
  route("post", "/account/users/store", "storeUser");
  route("get", "/account/users/edit", "editUser");
  route("post", "/account/users/update", "updateUser");
  return w.Text();
}

}  // namespace

void AddAccounts(const GeneratedFolder& files) {
  for (std::string_view path : kConstantFiles) files.Write(path, Template(path));
  Splice(files, "public/index.php", kHomeRequireLine,
         kHomeRequireLine + FrontControllerRequireLine("Core/Auth.php") +
             FrontControllerRequireLine("Controllers/AccountController.php"));
  Splice(files, "routes/web.php", kHomeRoute, std::string(kHomeRoute) + AccountRoutes());
  Splice(files, "app/Views/layouts/main.php", kNavigationTables, "Auth::viewableEntities()");
  Splice(files, "app/Views/layouts/main.php", kHeaderEnd,
         "<?php require __DIR__ . '/account_menu.php'; ?>\r\n" + std::string(kHeaderEnd));
  files.Write("README.md", files.Read("README.md") + std::string(Template("README.accounts.md")));
}

}  // namespace qb::gen
