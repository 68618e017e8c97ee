// The actions the library registers with the host, and the order of registration.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qb::host {

struct ActionSpec {
  int id;
  std::string_view name;
  std::string_view description;
  std::vector<std::uint8_t> type_codes;
};

// One registration call: a category header (id 0, title) or an action.
struct Registration {
  int id;
  std::string_view title;
};

const std::vector<ActionSpec>& Actions();
const ActionSpec* FindAction(int id);
std::span<const Registration> RegistrationSequence();

}  // namespace qb::host
