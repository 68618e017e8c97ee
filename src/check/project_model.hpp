// The summary of a project file that passed validation, read straight from its JSON root.
#pragma once

#include <string>

#include "core/json_value.hpp"

namespace qb {

struct ProjectModel {
  std::string schema_version;
  std::string project_id;
  std::string project_name;
  std::string project_version;
  std::string backend;
  std::string database_engine;  // as written in the file
  std::string css_framework;
  std::string output_directory = "dist";
  bool pwa_enabled = false;
  bool api_enabled = false;
  std::size_t page_count = 0;
  std::size_t entity_count = 0;
  std::size_t connection_count = 0;

  // "Project=...; ID=...; ...; Output=..." on one line.
  std::string Summary() const;
};

ProjectModel LoadProjectModel(const json::Value& root);

}  // namespace qb
