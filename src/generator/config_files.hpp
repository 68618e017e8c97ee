// Configuration, database connection and environment files of the generated application.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/project.hpp"

namespace qb::gen {

// app/Config/app.php; style_origin is where the stylesheet comes from besides the application ("" for nowhere)
std::string BuildAppConfig(std::string_view app_name, std::string_view style_origin);
std::string BuildDatabaseConfig(std::string_view engine);               // app/Config/database.php
std::string BuildEnvFile(const model::Project& project, bool omit_password);  // .env.example / .env

// Why the connection settings cannot be written to .env (a line break would inject settings), or
// nothing when they can.
std::optional<std::string> EnvSettingProblem(const model::Project& project);

}  // namespace qb::gen
