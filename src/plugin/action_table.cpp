// Action table.
#include "plugin/action_table.hpp"

#include <algorithm>
#include <array>

namespace qb::host {
namespace {

// Parameter type codes the host uses to pick an editor.
constexpr std::uint8_t kText = 0x01;
constexpr std::uint8_t kFolder = 0x02;
constexpr std::uint8_t kOpenFile = 0x05;
constexpr std::uint8_t kVariable = 0x06;
constexpr std::uint8_t kCreateFile = 0x0A;

constexpr std::array<Registration, 13> kSequence = {{
    {0, "General"},
    {1, {}},
    {0, "Project Properties"},
    {2, {}},
    {3, {}},
    {4, {}},
    {0, "Plan Generation"},
    {5, {}},
    {0, "Design Database"},
    {8, {}},
    {0, "Generate Application"},
    {6, {}},
    {7, {}},
}};

}  // namespace

const std::vector<ActionSpec>& Actions() {
  static const std::vector<ActionSpec> actions = {
      {1, "kdKTBGetVersion", "Write the Quillbarrow Generator version and phase to a variable.", {kVariable}},
      {2, "kdKTBCheckProjectFile",
       "Check whether a Quillbarrow project JSON file exists; write diagnostics to a variable.",
       {kOpenFile, kVariable}},
      {3, "kdKTBValidateProject",
       "Validate project JSON structure and supported target settings; write diagnostics to a variable.",
       {kOpenFile, kVariable}},
      {4, "kdKTBGetProjectSummary", "Read a valid project JSON file and write its project summary to a variable.",
       {kOpenFile, kVariable}},
      {5, "kdKTBCreateGenerationPlan",
       "Create a JSON plan describing the files that a later generation stage will produce.",
       {kOpenFile, kCreateFile, kVariable}},
      {6, "kdKTBGenerateApplication",
       "Generate PHP MVC source files, routes, views, database migrations, assets, and optional API/PWA files.",
       {kOpenFile, kFolder, kVariable}},
      {7, "kdKTBGenerateCRUDApplication",
       "Generate a PHP MVC CRUD application with design-time frontend preset, layout and accent colour.",
       {kOpenFile, kFolder, kText, kText, kText, kVariable}},
      {8, "kdKTBDesignDatabase",
       "Open the visual database designer: define tables, fields, types, lookups, pages and the database "
       "connection.",
       {kOpenFile, kVariable}},
  };
  return actions;
}

const ActionSpec* FindAction(int id) {
  const auto& actions = Actions();
  auto it = std::find_if(actions.begin(), actions.end(), [id](const ActionSpec& a) { return a.id == id; });
  return it == actions.end() ? nullptr : &*it;
}

std::span<const Registration> RegistrationSequence() { return kSequence; }

}  // namespace qb::host
