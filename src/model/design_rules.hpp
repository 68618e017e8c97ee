// The design rules generation relies on: identifiers, reserved names, types, lengths, defaults,
// options, lookups and the MySQL/MariaDB connection.
#pragma once

#include <string>
#include <vector>

#include "model/project.hpp"

namespace qb::model {

// Appends one sentence per problem to issues (never cleared), checking everything.
void Validate(const Project& project, std::vector<std::string>& issues);

}  // namespace qb::model
