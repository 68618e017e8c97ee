// Server configuration, migration script and documentation files of the generated application.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

std::string BuildMigrationsReadme();  // database/migrations/README.md
std::string BuildMigrateScript();     // bin/migrate.php
std::string BuildGitignore();         // .gitignore
std::string BuildPublicHtaccess();    // public/.htaccess
std::string BuildRootHtaccess();      // .htaccess
std::string BuildRootIndex();         // index.php
std::string BuildApacheVhost();       // deploy/apache-vhost.conf.example
std::string BuildNginxConf();         // deploy/nginx.conf.example
std::string BuildReadme(std::string_view app_name);  // README.md
std::string BuildTestsReadme();       // tests/README.md

}  // namespace qb::gen
