// The accounts of an application that requires sign-in: their files, and their place in the
// front controller, the routes, the layout and the README.
#pragma once

#include "generator/generated_file_writer.hpp"

namespace qb::gen {

// Adds sign-in to a generated application (its layout, front controller, routes and README
// written already).
void AddAccounts(const GeneratedFolder& files);

}  // namespace qb::gen
