// Utilities on the project document model; they work without the plug-in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qb::cli {

struct DocumentCommand {
  std::string_view name;
  std::size_t min_args;
  std::size_t max_args;
  // Returns the exit status; failures of the model propagate as exceptions.
  int (*run)(const std::vector<std::string>& args);
};

// nullptr when name is not a document command.
const DocumentCommand* FindDocumentCommand(std::string_view name);

}  // namespace qb::cli
