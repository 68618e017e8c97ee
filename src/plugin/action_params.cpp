// Parameter slots of one action call.
#include "plugin/action_params.hpp"

#include "plugin/host_text.hpp"

namespace qb::host {

std::string ActionParams::Text(int index) const {
  if (index < 0 || index > last_index_) return {};
  return HostTextToString(&slots_[index]);
}

}  // namespace qb::host
