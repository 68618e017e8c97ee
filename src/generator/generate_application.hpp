// Generates the PHP application of a project file into an output directory.
#pragma once

#include <string>
#include <string_view>

#include "check/project_validator.hpp"

namespace qb::gen {

struct GenerationOutcome {
  bool ok;
  // "Generated <name> at <dir>; database=...; css=...; pwa=...; api=..." or the failure text.
  std::string message;
};

// Validates first and writes nothing for an invalid project or a foreign output directory.
GenerationOutcome GenerateApplication(std::string_view project_file, std::string_view output_directory);

// The same for a project file that ValidateProjectFile found valid and parsed.
GenerationOutcome GenerateApplication(const ParsedProject& parsed, std::string_view output_directory);

}  // namespace qb::gen
