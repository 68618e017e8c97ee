// The runtime copy of the database design that every generated application reads
// (app/Config/schema.json).
#pragma once

#include <string>

#include "core/text_file.hpp"
#include "model/project.hpp"

namespace qb::model {

inline constexpr std::string_view kGeneratorName = "Kettlebourne Generator";

// Complete and self-contained: every key present, no unknown keys, and each lookup names the
// field it shows. Text in the system's JSON layout.
std::string RuntimeSchemaJson(const Project& project);
// The same text handed to sink in pieces of about 64 KiB, so it is never held whole.
void WriteRuntimeSchema(const Project& project, const TextSink& sink);

}  // namespace qb::model
