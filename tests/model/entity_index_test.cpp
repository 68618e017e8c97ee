#include "model/entity_index.hpp"

#include <gtest/gtest.h>

#include "json_text.hpp"
#include "model/project.hpp"

namespace qb::model {
namespace {

// The index finds exactly what Project::FindEntity finds, for every way of writing an id.
TEST(EntityIndex, FindsWhatTheProjectFinds) {
  Project project;
  project.LoadFromRoot(test::ParseJson(R"({"database": {"entities": [
      {"id": "books", "name": "first"}, {"id": "Books", "name": "second"}, {"id": "authors"},
      {"id": "\u00c4rger"}, {"id": ""}]}})"));
  const EntityIndex index(project.entities);
  for (const char* id : {"books", "BOOKS", "Books", "authors", "AUTHORS", "\xC3\x84rger", "\xC3\xA4rger", "", "missing"}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(index.Find(id), project.FindEntity(id));
  }
  ASSERT_NE(index.Find("BOOKS"), nullptr);
  EXPECT_EQ(index.Find("BOOKS")->name, "first");
  EXPECT_EQ(index.Find("\xC3\xA4rger"), nullptr);
}

}  // namespace
}  // namespace qb::model
