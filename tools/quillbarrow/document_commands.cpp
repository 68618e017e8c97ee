// format and schema: load a project file and save it again or print its runtime schema.
#include "document_commands.hpp"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "commands.hpp"
#include "model/project.hpp"
#include "model/runtime_schema.hpp"

namespace qb::cli {
namespace {

// What opening and saving a project in the designer does.
int RunFormat(const std::vector<std::string>& args) {
  model::Project project;
  project.LoadFromFile(args[0]);
  project.SaveToFile(args.size() > 1 ? args[1] : args[0]);
  return kExitOk;
}

int RunSchema(const std::vector<std::string>& args) {
  model::Project project;
  project.LoadFromFile(args[0]);
  std::cout << model::RuntimeSchemaJson(project) << std::flush;
  return kExitOk;
}

constexpr DocumentCommand kDocumentCommands[] = {
    {"format", 1, 2, RunFormat},
    {"schema", 1, 1, RunSchema},
};

}  // namespace

const DocumentCommand* FindDocumentCommand(std::string_view name) {
  const auto it = std::find_if(std::begin(kDocumentCommands), std::end(kDocumentCommands),
                               [&](const DocumentCommand& c) { return c.name == name; });
  return it == std::end(kDocumentCommands) ? nullptr : &*it;
}

}  // namespace qb::cli
