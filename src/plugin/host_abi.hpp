// Machine-level shapes of the host's exports and callbacks.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QB_STDCALL __stdcall
#define QB_EXPORT
#else
#define QB_STDCALL
#define QB_EXPORT __attribute__((visibility("default")))
#endif

namespace qb::host {

// Booleans returned to the host: 0 or 1 in the whole 32-bit register.
using HostBool = std::int32_t;

using RegisterActionFn = void(QB_STDCALL*)(int id, char* name, char* description, unsigned char* type_codes,
                                           int last_index, unsigned char param_count);
using SetVariableFn = void(QB_STDCALL*)(char* name, char* value);
// Returns a host Boolean: only its low byte counts.
using InterfaceAccessFn = std::int32_t(QB_STDCALL*)(int number, char** buffer);

}  // namespace qb::host

extern "C" {
QB_EXPORT void QB_STDCALL nbInitPlugIn(void* host_value, char** name, char** author, char** description);
QB_EXPORT void QB_STDCALL nbRegisterPlugIn(qb::host::RegisterActionFn register_action, void* callback2,
                                           void* callback3, qb::host::SetVariableFn set_variable);
QB_EXPORT void QB_STDCALL nbRegisterScriptProcessor(void* value);
QB_EXPORT void QB_STDCALL nbRegisterInterfaceAccess(qb::host::InterfaceAccessFn callback);
QB_EXPORT void QB_STDCALL nbMessage(int message, int value);
QB_EXPORT qb::host::HostBool QB_STDCALL nbExecAction(int action_id, char** params, int last_index);
QB_EXPORT qb::host::HostBool QB_STDCALL nbEditAction(int action_id, char** params, int last_index);
}
