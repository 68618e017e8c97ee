// The command line of quillbarrow: parses the arguments, runs one command, returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace qb::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunCommandLine(const std::vector<std::string>& args);

}  // namespace qb::cli
