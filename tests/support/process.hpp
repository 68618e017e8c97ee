// Runs a program and captures what it printed.
#pragma once

#include <string>
#include <vector>

namespace qb::test {

struct ProcessResult {
  int exit_code;
  std::string out;
  std::string err;
};

// Runs program with args (no shell), optionally in another working folder.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& working_dir = {});

}  // namespace qb::test
