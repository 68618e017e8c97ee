// Command-line commands.
#include "commands.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string_view>

#include "document_commands.hpp"
#include "plugin/host_platform.hpp"
#include "plugin_host.hpp"

namespace qb::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: quillbarrow [--plugin PATH] COMMAND [ARGUMENTS]\n"
    "\n"
    "Actions, run through the plug-in exactly as the host application runs them:\n"
    "  version                                   print the generator version\n"
    "  check PROJECT                             check that PROJECT is an existing .json file\n"
    "  validate PROJECT                          validate the project file\n"
    "  summary PROJECT                           print the project summary\n"
    "  plan PROJECT PLANFILE                     write the generation plan\n"
    "  generate PROJECT OUTDIR                   generate the PHP application\n"
    "  crud PROJECT OUTDIR [PRESET LAYOUT ACCENT] generate the CRUD application\n"
    "  design PROJECT                            open the visual designer (Windows only)\n"
    "  exec ID [PARAM...]                        call action ID with these parameter slots and\n"
    "                                            print every variable write as NAME=VALUE\n"
    "  actions                                   list the plug-in's registrations\n"
    "\n"
    "Utilities on the project document, without the plug-in:\n"
    "  format PROJECT [OUT]                      load and save PROJECT (to OUT) in canonical form\n"
    "  schema PROJECT                            print the runtime schema (app/Config/schema.json)\n"
    "\n"
    "Options:\n"
    "  --plugin PATH   load the plug-in from PATH instead of next to this program\n"
    "  --help          show this text\n"
    "\n"
    "The result text goes to stdout; an error of the plug-in goes to stderr.\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

struct ActionCommand {
  std::string_view name;
  int action_id;
  std::string_view result_variable;
  std::size_t min_args;
  std::size_t max_args;
};

constexpr ActionCommand kActionCommands[] = {
    {"version", 1, "[KTBVersion]", 0, 0},
    {"check", 2, "[KTBCheckResult]", 1, 1},
    {"validate", 3, "[KTBValidateResult]", 1, 1},
    {"summary", 4, "[KTBSummaryResult]", 1, 1},
    {"plan", 5, "[KTBPlanResult]", 2, 2},
    {"generate", 6, "[KTBGenerateResult]", 2, 2},
    {"crud", 7, "[KTBCRUDResult]", 2, 5},
    {"design", 8, "[KTBDesignResult]", 1, 1},
};

constexpr std::string_view kLastError = "[LastError]";

int UsageError(std::string_view message) {
  std::cerr << "quillbarrow: " << message << "\n\n" << kUsage;
  return kExitUsage;
}

int ExitStatus(bool ok) { return ok ? kExitOk : kExitFailed; }

// Prints the value written to the result variable, or the error the plug-in reported instead.
int RunAction(PluginHost& host, const ActionCommand& command, std::vector<std::string> params) {
  params.emplace_back(command.result_variable);
  const ExecResult result = host.Exec(command.action_id, params);
  for (const VariableWrite& write : result.writes) {
    if (write.name == kLastError) std::cerr << write.value << '\n';
    else if (write.name == command.result_variable) std::cout << write.value << '\n';
  }
  return ExitStatus(result.ok);
}

int RunExec(PluginHost& host, const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("exec needs an action ID");
  int id = 0;
  try {
    std::size_t used = 0;
    id = std::stoi(args[0], &used);
    if (used != args[0].size()) throw std::invalid_argument("trailing characters");
  } catch (const std::exception&) {
    return UsageError("action ID must be a whole number: " + args[0]);
  }
  std::vector<std::string> params(args.begin() + 1, args.end());
  if (params.empty()) params.emplace_back();
  const ExecResult result = host.Exec(id, params);
  for (const VariableWrite& write : result.writes) std::cout << write.name << '=' << write.value << '\n';
  return ExitStatus(result.ok);
}

std::string HexCodes(const std::vector<std::uint8_t>& codes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t code : codes) {
    if (!out.empty()) out += ' ';
    out += kHex[code >> 4];
    out += kHex[code & 0xF];
  }
  return out;
}

int RunActions(const PluginHost& host) {
  for (const RegisteredAction& a : host.Registrations())
    std::cout << a.id << '|' << a.name << '|' << a.description << '|' << HexCodes(a.type_codes) << '|'
              << a.param_count << '\n';
  return kExitOk;
}

const ActionCommand* FindActionCommand(std::string_view name) {
  auto it = std::find_if(std::begin(kActionCommands), std::end(kActionCommands),
                         [&](const ActionCommand& c) { return c.name == name; });
  return it == std::end(kActionCommands) ? nullptr : &*it;
}

// The plug-in commands, once the plug-in is loaded.
int RunPluginCommand(const std::string& plugin_path, const std::string& command,
                     const std::vector<std::string>& args) {
  const ActionCommand* action = FindActionCommand(command);
  if (action == nullptr && command != "exec" && command != "actions")
    return UsageError("unknown command: " + command);
  if (action != nullptr) {
    const bool crud_partial = action->action_id == 7 && args.size() > action->min_args && args.size() < 5;
    if (args.size() < action->min_args || args.size() > action->max_args || crud_partial)
      return UsageError("wrong number of arguments for " + command);
  } else if (command == "actions" && !args.empty()) {
    return UsageError("actions takes no arguments");
  }

  PluginHost host(plugin_path);
  if (command == "exec") return RunExec(host, args);
  if (command == "actions") return RunActions(host);
  return RunAction(host, *action, args);
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& all_args) {
  std::vector<std::string> args = all_args;
  std::optional<std::string> plugin_path;
  while (!args.empty() && args.front().starts_with("--")) {
    if (args.front() == "--help") {
      std::cout << kUsage;
      return kExitOk;
    }
    if (args.front() != "--plugin" || args.size() < 2) return UsageError("unknown option: " + args.front());
    plugin_path = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return UsageError("no command given");

  const std::string command = args.front();
  args.erase(args.begin());
  try {
    if (const DocumentCommand* document = FindDocumentCommand(command)) {
      if (args.size() < document->min_args || args.size() > document->max_args)
        return UsageError("wrong number of arguments for " + command);
      // Arguments arrive in the host's encoding (the ANSI code page on Windows), which the
      // plug-in commands hand on unchanged; the document model reads paths as UTF-8.
      std::vector<std::string> utf8_args;
      for (const std::string& arg : args) utf8_args.push_back(host::FromHostEncoding(arg));
      return document->run(utf8_args);
    }
    return RunPluginCommand(plugin_path.value_or(DefaultPluginPath()), command, args);
  } catch (const std::exception& e) {
    std::cerr << "quillbarrow: " << e.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace qb::cli
