// The seven exported entry points; each body traps every exception.
#include <string>
#include <vector>

#include "plugin/action_params.hpp"
#include "plugin/action_table.hpp"
#include "plugin/dispatch.hpp"
#include "plugin/edit_action.hpp"
#include "plugin/host_abi.hpp"
#include "plugin/host_state.hpp"
#include "plugin/host_platform.hpp"
#include "plugin/host_text.hpp"

using namespace qb::host;

namespace {

constexpr std::string_view kPluginName = "kdQuillbarrow";
constexpr std::string_view kAuthor = "Quillbarrow team";
constexpr std::string_view kPluginDescription = "Design databases visually and generate PHP CRUD web applications.";

void RegisterOne(const Registration& entry) {
  std::string title = ToHostEncoding(entry.title);
  std::string description;
  std::vector<unsigned char> codes = {0};
  unsigned char count = 0;
  if (const ActionSpec* action = FindAction(entry.id); entry.id != 0 && action != nullptr) {
    title = ToHostEncoding(action->name);
    description = ToHostEncoding(action->description);
    codes.assign(action->type_codes.begin(), action->type_codes.end());
    count = static_cast<unsigned char>(codes.size());
  }
  State().register_action(entry.id, title.data(), description.data(), codes.data(),
                          static_cast<int>(codes.size()) - 1, count);
}

HostBool ToHostBool(bool value) { return value ? 1 : 0; }

}  // namespace

extern "C" {

QB_EXPORT void QB_STDCALL nbInitPlugIn(void* host_value, char** name, char** author, char** description) {
  try {
    State().host_value = host_value;
    ReturnHostText(name, kPluginName);
    ReturnHostText(author, kAuthor);
    ReturnHostText(description, kPluginDescription);
  } catch (...) {
  }
}

QB_EXPORT void QB_STDCALL nbRegisterPlugIn(RegisterActionFn register_action, void* callback2, void* callback3,
                                           SetVariableFn set_variable) {
  try {
    State().register_action = register_action;
    State().callback2 = callback2;
    State().callback3 = callback3;
    State().set_variable = set_variable;
    if (register_action == nullptr) return;
    for (const Registration& entry : RegistrationSequence()) RegisterOne(entry);
  } catch (...) {
  }
}

QB_EXPORT void QB_STDCALL nbRegisterScriptProcessor(void* value) { State().script_processor = value; }

QB_EXPORT void QB_STDCALL nbRegisterInterfaceAccess(InterfaceAccessFn callback) {
  State().interface_access = callback;
}

QB_EXPORT void QB_STDCALL nbMessage(int, int) {}

QB_EXPORT HostBool QB_STDCALL nbExecAction(int action_id, char** params, int last_index) {
  try {
    return ToHostBool(ExecuteAction(action_id, ActionParams(params, last_index)));
  } catch (...) {
    return 0;
  }
}

QB_EXPORT HostBool QB_STDCALL nbEditAction(int action_id, char** params, int last_index) {
  try {
    return ToHostBool(RunTrapped([&] { return EditAction(action_id, params, last_index); }));
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
