// Drives the plug-in through its exports exactly as the host application does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.hpp"

namespace qb::cli {

struct RegisteredAction {
  int id;
  std::string name;
  std::string description;
  std::vector<std::uint8_t> type_codes;
  int param_count;
};

struct VariableWrite {
  std::string name;
  std::string value;
};

struct ExecResult {
  bool ok;
  std::vector<VariableWrite> writes;
};

class PluginHost {
 public:
  // Loads the plug-in, then calls nbInitPlugIn, nbRegisterPlugIn, nbRegisterScriptProcessor and
  // nbRegisterInterfaceAccess in the host's order.
  explicit PluginHost(const std::string& plugin_path);

  const std::vector<RegisteredAction>& Registrations() const;
  ExecResult Exec(int action_id, const std::vector<std::string>& params);

 private:
  DynamicLibrary library_;
};

}  // namespace qb::cli
