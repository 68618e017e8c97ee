// The CRUD variant of the generated application: the base application, themed, plus one
// list/add/edit/delete controller per table.
#pragma once

#include <string>
#include <string_view>

#include "generator/generate_application.hpp"

namespace qb::gen {

// Preset, layout and accent are normalised here; bad values fall back to the defaults.
GenerationOutcome GenerateCRUDApplication(std::string_view project_file, std::string_view output_directory,
                                          std::string_view preset, std::string_view layout, std::string_view accent);

// The same for a project file that ValidateProjectFile found valid and parsed.
GenerationOutcome GenerateCRUDApplication(const ParsedProject& parsed, std::string_view output_directory,
                                          std::string_view preset, std::string_view layout, std::string_view accent);

// app/Controllers/<Class>CrudController.php of one table.
std::string BuildEntityCrudController(std::string_view table_id);

}  // namespace qb::gen
