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

TEST(Page, ExistingComponentsStayInPlaceWhateverTheirKind) {
  EXPECT_EQ(json::Write(Load(R"({"components":{},"id":"a","showInNavigation":"no","hero":1})").ToJson()),
            Lines({
                "{",
                "  \"components\": {",
                "  },",
                "  \"hero\": 1,",
                "  \"id\": \"a\",",
                "  \"title\": \"a\",",
                "  \"route\": \"/a\",",
                "  \"template\": \"standard\",",
                "  \"content\": \"\",",
                "  \"showInNavigation\": false",
                "}",
            }));
}

}  // namespace
}  // namespace qb::model
