// Helpers for tests that read JSON literals and compare texts in the system's JSON layout.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/json_parse.hpp"
#include "core/json_value.hpp"

namespace qb::test {

// Lines joined with CR LF, no final line break, as the JSON writer lays them out.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

inline json::Value ParseJson(std::string_view text) {
  std::optional<json::Value> value = json::Parse(text);
  if (!value) ADD_FAILURE() << "test JSON does not parse: " << text;
  return value.value_or(json::Value());
}

}  // namespace qb::test
