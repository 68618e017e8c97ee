// The generation plan: every file a generated application consists of, described before generating.
#pragma once

#include <string>
#include <string_view>

#include "core/json_value.hpp"

namespace qb {

class PlanWriter {
 public:
  // Reads the project file and returns the plan object; summary receives the one-line summary.
  // Throws std::runtime_error on failure. Meant for one call.
  json::Value Build(std::string_view project_file, std::string& summary);

 private:
  void AddFile(std::string path, std::string category, std::string template_id, std::string purpose);

  json::Value files_ = json::Value::Array();
};

// Non-empty, only A-Z, a-z, 0-9, "-" and "_".
bool IsSafeId(std::string_view text);

// Relative, no drive, no parent references ("\" counts as "/").
bool IsSafeRelativePath(std::string_view path);

struct PlanOutcome {
  bool ok;
  std::string message;  // the summary, or the failure text
};

// Builds the plan and writes it to plan_file; nothing is written on failure.
PlanOutcome CreateGenerationPlan(std::string_view project_file, std::string_view plan_file);

}  // namespace qb
