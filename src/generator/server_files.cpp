// Server configuration, migration script and documentation files of the generated application.
#include "generator/server_files.hpp"

#include "generator/line_writer.hpp"
#include "generator/templates.hpp"

namespace qb::gen {

std::string BuildMigrationsReadme() { return std::string(Template("database/migrations/README.md")); }
std::string BuildMigrateScript() { return std::string(Template("bin/migrate.php")); }
std::string BuildGitignore() { return std::string(Template(".gitignore")); }
std::string BuildPublicHtaccess() { return std::string(Template("public/.htaccess")); }
std::string BuildRootHtaccess() { return std::string(Template(".htaccess")); }
std::string BuildRootIndex() { return std::string(Template("index.php")); }
std::string BuildApacheVhost() { return std::string(Template("deploy/apache-vhost.conf.example")); }
std::string BuildNginxConf() { return std::string(Template("deploy/nginx.conf.example")); }
std::string BuildTestsReadme() { return std::string(Template("tests/README.md")); }

std::string BuildReadme(std::string_view app_name) {
  // Only the heading names the application; the rest is the same for every project.
  LineWriter out;
  out.Line("# " + std::string(app_name));
  out.Raw(Template("README.body.md"));
  return out.Text();
}

}  // namespace qb::gen
