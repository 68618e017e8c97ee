#include "core/json_value.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "core/json_parse.hpp"
#include "core/json_write.hpp"

namespace qb::json {
namespace {

Value Sample() {
  return *Parse(R"({"a": [1, "two", {"b": null}], "c": true, "d": "text that does not fit a short string"})");
}

TEST(JsonValueTest, AccessorsOfOtherKindsGiveNothing) {
  struct Case { const char* name; Value value; };
  const Case cases[] = {
      {"null", Value()},
      {"Boolean", Value::Boolean(true)},
      {"number", Value::Number("12")},
      {"string", Value::String("x")},
      {"array", Value::Array()},
      {"object", Value::Object()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Value& v = c.value;
    EXPECT_EQ(v.Text().empty(), !(v.IsString() || v.IsNumber()));
    EXPECT_EQ(v.AsBoolean(), v.IsBoolean());
    EXPECT_TRUE(v.Items().empty());
    EXPECT_TRUE(v.Members().empty());
    EXPECT_EQ(v.Find("a"), nullptr);
    Value changeable = v;
    EXPECT_FALSE(changeable.Remove("a"));
    if (!v.IsArray()) {
      EXPECT_THROW(changeable.Append(Value()), std::logic_error);
    }
    if (!v.IsObject()) {
      EXPECT_THROW(changeable.Set("a", Value()), std::logic_error);
    }
    EXPECT_EQ(changeable, v);
  }
}

TEST(JsonValueTest, CopiesAndMovesKeepTheWholeTree) {
  const Value original = Sample();
  Value copy = original;
  EXPECT_EQ(copy, original);
  Value moved = std::move(copy);
  EXPECT_EQ(moved, original);
  EXPECT_TRUE(copy.IsNull());  // NOLINT(bugprone-use-after-move): a moved-from value is null
  Value assigned = Value::String("before");
  assigned = original;
  EXPECT_EQ(Write(assigned), Write(original));
  assigned = Value::Boolean(false);
  EXPECT_EQ(assigned, Value::Boolean(false));
  EXPECT_NE(assigned, Value::Boolean(true));
  EXPECT_NE(Value::Number("1"), Value::String("1"));
}

TEST(JsonValueTest, AssigningAPartOfTheValueToItself) {
  Value v = Sample();
  const Value inner = *v.Find("a");
  v = std::move(*v.Find("a"));
  EXPECT_EQ(v, inner);
  Value w = Sample();
  const Value member = w.Find("a")->Items()[2];
  w = w.Find("a")->Items()[2];
  EXPECT_EQ(w, member);
  Value self = Sample();
  Value& alias = self;
  self = alias;
  EXPECT_EQ(self, Sample());
}

}  // namespace
}  // namespace qb::json
