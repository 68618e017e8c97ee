// What the generator reads from the raw project JSON: identity, target settings, pages and tables.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/json_value.hpp"

namespace qb::gen {

struct PageInput {
  std::string id;                    // file-safe
  std::optional<std::string> title;  // as read
  std::string route;                 // normalised
  bool in_navigation;
  std::string template_name;
  std::string content;

  std::string FileTitle() const { return title.value_or(id); }
  std::string LinkTitle() const { return title.value_or(route); }
  bool HasOwnFiles() const { return route != "/"; }
};

struct TableInput {
  std::string id;  // file-safe
  std::string name;
};

struct GenerationInput {
  std::string project_id;  // file-safe
  std::string app_name;
  std::string engine;  // lower-case
  std::string css_framework;
  std::string assets;  // "local" or "cdn"
  bool pwa_enabled;
  bool api_enabled;
  std::vector<PageInput> pages;
  std::vector<TableInput> tables;
};

// Reads the values with their defaults. Throws std::runtime_error when two pages or two tables
// get the same file identifier, or two pages the same controller class (ignoring letter case).
GenerationInput ReadGenerationInput(const json::Value& root);

}  // namespace qb::gen
