// The command-line host's side of the plug-in ABI.
#include "plugin_host.hpp"

#include "plugin/host_abi.hpp"

namespace qb::cli {
namespace {

// The callbacks are plain functions, so what they record lives here.
std::vector<RegisteredAction> g_registrations;
std::vector<VariableWrite> g_writes;

void QB_STDCALL OnRegisterAction(int id, char* name, char* description, unsigned char* type_codes, int last_index,
                                 unsigned char param_count) {
  RegisteredAction action{id, name ? name : "", description ? description : "", {}, param_count};
  for (int i = 0; type_codes != nullptr && i <= last_index; ++i) action.type_codes.push_back(type_codes[i]);
  g_registrations.push_back(std::move(action));
}

void QB_STDCALL OnSetVariable(char* name, char* value) {
  g_writes.push_back({name ? name : "", value ? value : ""});
}

// The command line offers no host dialogs.
std::int32_t QB_STDCALL OnInterfaceAccess(int, char**) { return 0; }

template <typename Fn>
Fn Export(const DynamicLibrary& library, const char* name) {
  return reinterpret_cast<Fn>(library.Symbol(name));
}

}  // namespace

PluginHost::PluginHost(const std::string& plugin_path) : library_(plugin_path) {
  using InitFn = void(QB_STDCALL*)(void*, char**, char**, char**);
  using RegisterFn = void(QB_STDCALL*)(host::RegisterActionFn, void*, void*, host::SetVariableFn);
  using ScriptProcessorFn = void(QB_STDCALL*)(void*);
  using InterfaceFn = void(QB_STDCALL*)(host::InterfaceAccessFn);

  char* name = nullptr;
  char* author = nullptr;
  char* description = nullptr;
  Export<InitFn>(library_, "nbInitPlugIn")(nullptr, &name, &author, &description);
  for (char* block : {name, author, description})
    if (block != nullptr) FreePluginBlock(block);

  g_registrations.clear();
  Export<RegisterFn>(library_, "nbRegisterPlugIn")(&OnRegisterAction, nullptr, nullptr, &OnSetVariable);
  Export<ScriptProcessorFn>(library_, "nbRegisterScriptProcessor")(nullptr);
  Export<InterfaceFn>(library_, "nbRegisterInterfaceAccess")(&OnInterfaceAccess);
}

const std::vector<RegisteredAction>& PluginHost::Registrations() const { return g_registrations; }

ExecResult PluginHost::Exec(int action_id, const std::vector<std::string>& params) {
  using ExecFn = host::HostBool(QB_STDCALL*)(int, char**, int);
  std::vector<std::string> texts = params;
  std::vector<char*> slots;
  for (std::string& text : texts) slots.push_back(text.data());
  g_writes.clear();
  const host::HostBool ok =
      Export<ExecFn>(library_, "nbExecAction")(action_id, slots.data(), static_cast<int>(slots.size()) - 1);
  return {(ok & 0xFF) != 0, g_writes};
}

}  // namespace qb::cli
