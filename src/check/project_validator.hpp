// The full check of a project file: structure, supported target settings and design rules.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/project_model.hpp"
#include "core/json_value.hpp"
#include "model/project.hpp"

namespace qb {

struct ValidationOutcome {
  bool ok;
  // "Project JSON is valid." or every issue followed by CR LF.
  std::string message;
  // The summary model, present when ok.
  std::optional<ProjectModel> model;
};

// A project file read and parsed once, for the validation and the generation that follows it.
struct ParsedProject {
  std::shared_ptr<const json::Value> root;
  // Loaded from root.
  model::Project project;
};

// Never throws for problems of the file; they are issues.
ValidationOutcome ValidateProjectFile(std::string_view file_name);
// The same; when the file holds a JSON object, parsed receives its document and project.
ValidationOutcome ValidateProjectFile(std::string_view file_name, ParsedProject& parsed);

// Lower-case letters, digits and "-", starting with a letter or digit.
bool IsValidProjectId(std::string_view text);

// Appends the issues of an array of objects identified by a string member.
void CheckUniqueIds(const json::Value& items, std::string_view label, std::string_view key,
                    std::vector<std::string>& issues);

}  // namespace qb
