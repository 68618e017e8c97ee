#include "model/field_types.hpp"

#include <gtest/gtest.h>

namespace qb::model {
namespace {

TEST(NormalizeFieldType, MapsAliasesCaseAndWhiteSpace) {
  const struct {
    std::string_view input;
    std::string_view expected;
  } cases[] = {
      {"", "string"},           {"  ", "string"},         {"VarChar", "string"},  {"char", "string"},
      {"String", "string"},     {"INT", "integer"},       {"number", "decimal"},  {"float", "decimal"},
      {"double", "decimal"},    {"Money", "decimal"},     {"bool", "boolean"},    {"timestamp", "datetime"},
      {"tel", "phone"},         {"mobile", "phone"},      {"textarea", "text"},   {"longtext", "text"},
      {"memo", "text"},         {"enum", "select"},       {"dropdown", "select"}, {"reference", "lookup"},
      {"relation", "lookup"},   {"ForeignKey", "lookup"}, {"\t date \r\n", "date"},
      {"blob", "blob"},         {" BLOB ", "blob"},       {"Ünit", "Ünit"},       {"int eger", "int eger"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeFieldType(c.input), c.expected) << '"' << c.input << '"';
}

TEST(FieldTypeIndex, ComparesKeysExactly) {
  EXPECT_EQ(FieldTypeIndex("string"), 0);
  EXPECT_EQ(FieldTypeIndex("phone"), 10);
  EXPECT_EQ(FieldTypeIndex("lookup"), 13);
  EXPECT_EQ(FieldTypeIndex("String"), -1);
  EXPECT_EQ(FieldTypeIndex(" string"), -1);
  EXPECT_EQ(FieldTypeIndex(""), -1);
}

TEST(TypeHasLength, HoldsForTheFiveLengthTypesOnly) {
  for (std::string_view key : kFieldTypeKeys) {
    const bool expected = key == "string" || key == "email" || key == "url" || key == "phone" || key == "select";
    EXPECT_EQ(TypeHasLength(key), expected) << key;
  }
  EXPECT_FALSE(TypeHasLength("STRING"));
}

}  // namespace
}  // namespace qb::model
