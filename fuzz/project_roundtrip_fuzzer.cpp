// Arbitrary bytes through the project document: parse, load, check, export the runtime schema,
// save, then load and save twice more. Every written text must parse, and from the second save
// on the text must not change.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/json_parse.hpp"
#include "core/json_write.hpp"
#include "model/design_rules.hpp"
#include "model/project.hpp"
#include "model/runtime_schema.hpp"

namespace {

using qb::json::Value;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "round trip fault: %s\n", what);
  std::abort();
}

std::string Save(const qb::model::Project& project) { return qb::json::Write(project.BuildRoot()); }

// What opening a saved file and saving it again does.
std::string Resave(const std::string& text) {
  const std::optional<Value> root = qb::json::Parse(text);
  Require(root.has_value() && root->IsObject(), "a saved project does not parse as an object");
  qb::model::Project project;
  project.LoadFromRoot(*root);
  return Save(project);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<Value> root = qb::json::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!root || !root->IsObject()) return 0;
  qb::model::Project project;
  project.LoadFromRoot(*root);
  std::vector<std::string> issues;
  qb::model::Validate(project, issues);
  Require(qb::json::Parse(qb::model::RuntimeSchemaJson(project)).has_value(), "the runtime schema does not parse");
  const std::string second = Resave(Save(project));
  Require(Resave(second) == second, "the second and third saves differ");
  return 0;
}
