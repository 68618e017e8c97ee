#include "model/page.hpp"

#include <gtest/gtest.h>

#include "core/json_write.hpp"
#include "json_text.hpp"

namespace qb::model {
namespace {

using test::Lines;
using test::ParseJson;

Page Load(std::string_view json_text) {
  Page page;
  page.LoadFromJson(ParseJson(json_text));
  return page;
}

TEST(Page, NewPageHasNoTemplateAndIsNotInNavigation) {
  const Page page;
  EXPECT_EQ(page.template_name, "");
  EXPECT_FALSE(page.show_in_navigation);
}

TEST(Page, MissingKeysReadAsDerivedDefaultsAndSaveAddsComponents) {
  EXPECT_EQ(json::Write(Load(R"({"id":"faq"})").ToJson()),
            Lines({
                "{",
                "  \"id\": \"faq\",",
                "  \"title\": \"faq\",",
                "  \"route\": \"/faq\",",
                "  \"template\": \"standard\",",
                "  \"content\": \"\",",
                "  \"showInNavigation\": true,",
                "  \"components\": [",
                "  ]",
                "}",
            }));
}

TEST(Page, ExistingComponentsKeepTheirValueWhateverTheirKindAndGoLast) {
  EXPECT_EQ(json::Write(Load(R"({"components":{},"id":"a","showInNavigation":"no","hero":1})").ToJson()),
            Lines({
                "{",
                "  \"hero\": 1,",
                "  \"id\": \"a\",",
                "  \"title\": \"a\",",
                "  \"route\": \"/a\",",
                "  \"template\": \"standard\",",
                "  \"content\": \"\",",
                "  \"showInNavigation\": false,",
                "  \"components\": {",
                "  }",
                "}",
            }));
}

TEST(Page, ASavedPageSavesTheSameAgain) {
  for (const char* page : {R"({"id":"faq"})", R"({"components":[1],"x":2,"id":"a"})"}) {
    const std::string once = json::Write(Load(page).ToJson());
    EXPECT_EQ(json::Write(Load(once).ToJson()), once) << page;
  }
}

}  // namespace
}  // namespace qb::model
