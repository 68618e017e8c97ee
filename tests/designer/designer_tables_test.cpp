#include <gtest/gtest.h>

#include <algorithm>

#include "designer/designer_form.hpp"
#include "designer_session.hpp"
#include "model/field_types.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;

// A project with tables "customers" (name, secret: password, active: boolean) and "orders"
// (customer_id: lookup to customers.name with default 1, title).
constexpr std::string_view kShop = R"({
  "database": {"entities": [
    {"id": "customers", "name": "Customers", "displayField": "Name", "fields": [
      {"name": "name", "type": "string"},
      {"name": "secret", "type": "password"},
      {"name": "active", "type": "boolean"}]},
    {"id": "orders", "name": "Orders", "fields": [
      {"name": "customer_id", "type": "lookup", "lookup": {"entity": "Customers", "field": "name"}, "default": "1"},
      {"name": "title", "type": "string"}]}
  ]}})";

DesignerForm& OpenShop(DesignerSession& s) { return s.Open(s.dir.Write("shop.json", kShop)); }

const model::Field& FieldOf(const DesignerForm& form, std::size_t table, std::size_t field) {
  return form.Project().entities.at(table).fields.at(field);
}

TEST(DesignerTablesTest, AddTableInAnEmptyProject) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  form.Clicked(Ctl::btnAddTable);
  const model::Entity& t = form.Project().entities.at(0);
  EXPECT_EQ(t.id, "new_table");
  EXPECT_EQ(t.name, "New table");
  ASSERT_EQ(t.fields.size(), 1u);
  const model::Field& f = t.fields[0];
  EXPECT_EQ(f.name, "name");
  EXPECT_EQ(f.label, "Name");
  EXPECT_EQ(f.type, "string");
  EXPECT_TRUE(f.required && f.show_in_list && f.searchable);
  EXPECT_EQ(f.max_length, 255);
  EXPECT_EQ(form.Control(Ctl::lbTables).items, std::vector<std::string>{"new_table  -  New table"});
  EXPECT_EQ(form.Focus(), Ctl::edTableName);
  EXPECT_EQ(form.Control(Ctl::lvFields).selected, 0);
  EXPECT_EQ(form.Control(Ctl::edFieldName).text, "name");
}

TEST(DesignerTablesTest, TheIdFollowsTheLabelUntilTypedByHand) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  form.Clicked(Ctl::btnAddTable);
  form.TextChanged(Ctl::edTableName, "Order lines");
  EXPECT_EQ(form.Control(Ctl::edTableId).text, "order_lines");
  EXPECT_EQ(form.Control(Ctl::lbTables).items[0], "order_lines  -  Order lines");
  form.TextChanged(Ctl::edTableId, " orders ");
  form.TextChanged(Ctl::edTableName, "Sales orders");
  EXPECT_EQ(form.Project().entities[0].id, "orders");
  form.TextChanged(Ctl::edTableId, "");
  form.TextChanged(Ctl::edTableName, "Sales");
  EXPECT_EQ(form.Project().entities[0].id, "sales");
  EXPECT_EQ(form.Control(Ctl::lbTables).items[0], "sales  -  Sales");
}

TEST(DesignerTablesTest, NewTableIdsTakeTheFirstFreeCandidate) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write(
      "p.json", R"({"database": {"entities": [{"id": "new_table"}, {"id": "table_4"}]}})"));
  form.Clicked(Ctl::btnAddTable);
  EXPECT_EQ(form.Project().entities.at(2).id, "table_3");
}

TEST(DesignerTablesTest, LookupsFollowTableRenamesAndDeletes) {
  DesignerSession s;
  DesignerForm& form = OpenShop(s);
  form.Selected(Ctl::lbTables, 0);
  form.TextChanged(Ctl::edTableId, "Customers");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_entity, "Customers");
  form.TextChanged(Ctl::edTableId, "clients");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_entity, "clients");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_field, "name");

  s.ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  form.Clicked(Ctl::btnDeleteTable);
  EXPECT_EQ(form.Project().entities.size(), 2u);
  form.Clicked(Ctl::btnDeleteTable);
  EXPECT_EQ(s.ui.messages[0].kind, MessageKind::Warning);
  EXPECT_EQ(s.ui.messages[0].text,
            "Table \"clients\" is used by these lookup fields:\r\n  orders.customer_id\r\n\r\n"
            "Delete it anyway? Those lookups will need a new target.");
  ASSERT_EQ(form.Project().entities.size(), 1u);
  EXPECT_EQ(FieldOf(form, 0, 0).lookup_entity, "");
  EXPECT_EQ(FieldOf(form, 0, 0).lookup_field, "name");
  EXPECT_EQ(form.Control(Ctl::lbTables).selected, 0);

  s.ui.Answer(MessageAnswer::Yes);
  form.Clicked(Ctl::btnDeleteTable);
  EXPECT_EQ(s.ui.LastMessage(), "Delete table \"orders\" from the design?\r\n"
                                "(Existing data in an already generated database is not deleted.)");
  EXPECT_EQ(form.Control(Ctl::lbTables).selected, -1);
  for (Ctl id : {Ctl::edTableId, Ctl::edTableName, Ctl::cbDisplayField, Ctl::edPageSize, Ctl::chkTimestamps,
                 Ctl::chkExportCsv, Ctl::chkImportCsv, Ctl::chkDetailPage, Ctl::chkFullTextSearch})
    EXPECT_FALSE(form.Control(id).enabled);
  EXPECT_FALSE(form.Control(Ctl::grpField).enabled);
  EXPECT_EQ(form.Control(Ctl::edTableName).text, "");
  EXPECT_TRUE(form.Control(Ctl::cbDisplayField).items.empty());
  EXPECT_TRUE(form.FieldRows().empty());
  EXPECT_EQ(form.Control(Ctl::lblStatus).text.find("0 table(s)") != std::string::npos, true);
}

// Every text a box passes through while `word` is typed into it letter by letter.
std::vector<std::string> Keystrokes(const std::string& word) {
  std::vector<std::string> texts;
  for (std::size_t n = 1; n <= word.size(); ++n) texts.push_back(word.substr(0, n));
  return texts;
}

// Names that point at a table or a field follow it while it is renamed, and never change because
// the text being typed passes through the name of another table or field.
TEST(DesignerTablesTest, RenamesMoveOnlyTheNamesThatPointAtTheRenamedOne) {
  struct Case {
    const char* what;
    bool add_table, add_field;  // renames a new table / a new field of "customers" instead
    Ctl box;
    std::string typed;
    std::string lookup_entity, lookup_field, display_field;  // of orders.customer_id and customers
  };
  const Case cases[] = {
      {"new table id through customers", true, false, Ctl::edTableId, "customers_archive", "Customers", "name", "Name"},
      {"new table label through Customers", true, false, Ctl::edTableName, "Customers archive", "Customers", "name",
       "Name"},
      {"customers renamed by hand", false, false, Ctl::edTableId, "clients", "clients", "name", "Name"},
      {"customers renamed through orders", false, false, Ctl::edTableId, "orders_old", "orders_old", "name", "Name"},
      {"new field label through Name", false, true, Ctl::edFieldLabel, "Name short", "Customers", "name", "Name"},
      {"name renamed by hand", false, false, Ctl::edFieldName, "full_name", "Customers", "full_name", "full_name"},
      {"name renamed through secret", false, false, Ctl::edFieldName, "secrets", "Customers", "secrets", "secrets"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignerSession s;
    DesignerForm& form = OpenShop(s);
    if (c.add_table) form.Clicked(Ctl::btnAddTable);
    if (c.add_field) form.Clicked(Ctl::btnAddField);
    // Typing starts from an emptied box, as after selecting the whole text.
    form.TextChanged(c.box, "");
    for (const std::string& text : Keystrokes(c.typed)) form.TextChanged(c.box, text);
    EXPECT_EQ(FieldOf(form, 1, 0).lookup_entity, c.lookup_entity);
    EXPECT_EQ(FieldOf(form, 1, 0).lookup_field, c.lookup_field);
    EXPECT_EQ(form.Project().entities[0].display_field, c.display_field);
  }
}

// Another event ends a renaming; typing afterwards starts a new one from the names as they are.
TEST(DesignerTablesTest, ARenamingEndsWithAnyOtherEvent) {
  DesignerSession s;
  DesignerForm& form = OpenShop(s);
  form.TextChanged(Ctl::edTableId, "clients");
  form.Selected(Ctl::lbTables, 1);
  form.Clicked(Ctl::btnAddTable);
  for (const std::string& text : Keystrokes("clients2")) form.TextChanged(Ctl::edTableId, text);
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_entity, "clients");
  form.Selected(Ctl::lbTables, 0);
  form.TextChanged(Ctl::edTableId, "buyers");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_entity, "buyers");
}

TEST(DesignerTablesTest, PageSizeTakesWholeNumbersOnly) {
  DesignerSession s;
  DesignerForm& form = OpenShop(s);
  form.TextChanged(Ctl::edPageSize, "abc");
  EXPECT_EQ(form.Project().entities[0].page_size, 20);
  EXPECT_EQ(form.Control(Ctl::edPageSize).text, "abc");
  form.TextChanged(Ctl::edPageSize, " 50 ");
  EXPECT_EQ(form.Project().entities[0].page_size, 50);
  form.Checked(Ctl::chkTimestamps, true);
  EXPECT_TRUE(form.Project().entities[0].timestamps);
}

TEST(DesignerTablesTest, DisplayAndLookupFieldListsLeaveOutPasswordsAndBooleans) {
  DesignerSession s;
  DesignerForm& form = OpenShop(s);
  EXPECT_EQ(form.Control(Ctl::cbDisplayField).items,
            (std::vector<std::string>{"(automatic)", "id", "name", "active"}));
  EXPECT_EQ(form.Control(Ctl::cbDisplayField).selected, 2);
  form.Selected(Ctl::cbDisplayField, 1);
  EXPECT_EQ(form.Project().entities[0].display_field, "id");
  form.Selected(Ctl::cbDisplayField, 0);
  EXPECT_EQ(form.Project().entities[0].display_field, "");

  form.Selected(Ctl::lbTables, 1);
  EXPECT_EQ(form.Control(Ctl::cbLookupEntity).items, (std::vector<std::string>{"customers", "orders"}));
  EXPECT_EQ(form.Control(Ctl::cbLookupEntity).selected, 0);
  EXPECT_EQ(form.Control(Ctl::cbLookupField).items,
            (std::vector<std::string>{"(display field of that table)", "id", "name"}));
  EXPECT_EQ(form.Control(Ctl::cbLookupField).selected, 2);
  form.Selected(Ctl::cbLookupField, 1);
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_field, "id");
  form.Selected(Ctl::cbLookupEntity, 1);
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_entity, "orders");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_field, "");
  EXPECT_EQ(form.Control(Ctl::cbLookupField).selected, 0);
  EXPECT_EQ(form.FieldRows()[0][8], "-> orders; Default: 1");
}

TEST(DesignerFieldsTest, TheNameFollowsTheLabel) {
  const std::pair<std::string, std::string> cases[] = {
      {"E-mail address!", "e_mail_address"}, {"2nd phone", "f_2nd_phone"}, {"?!", "field"}};
  for (const auto& [label, name] : cases) {
    DesignerSession s;
    DesignerForm& form = s.Open("");
    form.Clicked(Ctl::btnAddTable);
    form.Clicked(Ctl::btnAddField);
    EXPECT_EQ(form.Focus(), Ctl::edFieldLabel);
    EXPECT_EQ(form.Control(Ctl::edFieldName).text, "field_2");
    form.TextChanged(Ctl::edFieldLabel, label);
    EXPECT_EQ(form.Control(Ctl::edFieldName).text, name);
    EXPECT_EQ(FieldOf(form, 0, 1).name, name);
    EXPECT_EQ(form.FieldRows()[1][0], name);
  }
}

TEST(DesignerFieldsTest, RenamingAFieldCarriesTheDisplayFieldAndLookups) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("p.json", R"({"database": {"entities": [
    {"id": "books", "displayField": "Title", "fields": [{"name": "title"}]},
    {"id": "loans", "fields": [{"name": "book", "type": "lookup", "lookupEntity": "BOOKS", "lookupField": "TITLE"},
                               {"name": "other", "type": "lookup", "lookupEntity": "loans", "lookupField": "title"}]}]}})"));
  form.TextChanged(Ctl::edFieldName, "heading");
  EXPECT_EQ(form.Project().entities[0].display_field, "heading");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_field, "heading");
  EXPECT_EQ(FieldOf(form, 1, 1).lookup_field, "title");
  EXPECT_EQ(form.Control(Ctl::cbDisplayField).items.back(), "heading");
  EXPECT_EQ(form.Control(Ctl::cbDisplayField).selected, 2);
}

TEST(DesignerFieldsTest, TypeChangesApplyDefaultsAndPerTypeControls) {
  struct Case {
    std::string type;
    bool length_visible, options_visible, lookup_visible, unique_enabled, show_in_list;
    std::string default_hint;
  };
  const Case cases[] = {
      {"text", false, false, false, false, false, ""},
      {"select", true, true, false, true, true, ""},
      {"lookup", false, false, true, true, true, ""},
      {"boolean", false, false, false, false, true, "true or false"},
      {"date", false, false, false, true, true, "YYYY-MM-DD"},
      {"password", false, false, false, false, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    DesignerSession s;
    DesignerForm& form = OpenShop(s);
    form.Checked(Ctl::chkUnique, true);
    const auto index = std::find(model::kFieldTypeKeys.begin(), model::kFieldTypeKeys.end(), c.type) -
                       model::kFieldTypeKeys.begin();
    form.Selected(Ctl::cbFieldType, static_cast<int>(index));
    EXPECT_EQ(FieldOf(form, 0, 0).type, c.type);
    EXPECT_EQ(form.Control(Ctl::edLength).visible, c.length_visible);
    EXPECT_EQ(form.Control(Ctl::lblLength).visible, c.length_visible);
    EXPECT_EQ(form.Control(Ctl::mmOptions).visible, c.options_visible);
    EXPECT_EQ(form.Control(Ctl::cbLookupField).visible, c.lookup_visible);
    EXPECT_EQ(form.Control(Ctl::chkUnique).enabled, c.unique_enabled);
    EXPECT_EQ(form.Control(Ctl::chkUnique).checked, c.unique_enabled);
    EXPECT_EQ(form.Control(Ctl::chkShowInList).checked, c.show_in_list);
    EXPECT_EQ(form.Control(Ctl::edDefault).hint, c.default_hint);
    EXPECT_EQ(form.FieldRows()[0][2], model::kFieldTypeLabels[static_cast<std::size_t>(index)]);
    EXPECT_TRUE(form.Modified());
  }
}

TEST(DesignerFieldsTest, ALookupProposesItsTargetFromTheFieldName) {
  struct Case {
    std::string entities;
    std::string expected;
  };
  const Case cases[] = {
      {R"([{"id": "orders", "fields": [{"name": "customer_id"}]}, {"id": "Customers"}])", "Customers"},
      {R"([{"id": "orders", "fields": [{"name": "customer_id"}]}, {"id": "customer"}])", "customer"},
      {R"([{"id": "orders", "fields": [{"name": "box_id"}]}, {"id": "tags"}, {"id": "boxes"}])", "boxes"},
      {R"([{"id": "orders", "fields": [{"name": "owner"}]}, {"id": "tags"}, {"id": "people"}])", "tags"},
      {R"([{"id": "orders", "fields": [{"name": "customer_id"}]}])", ""},
  };
  for (const Case& c : cases) {
    DesignerSession s;
    DesignerForm& form = s.Open(s.dir.Write("p.json", R"({"database": {"entities": )" + c.entities + "}}"));
    form.Selected(Ctl::cbFieldType, 13);
    EXPECT_EQ(FieldOf(form, 0, 0).lookup_entity, c.expected) << c.entities;
    EXPECT_EQ(form.Control(Ctl::cbLookupField).selected, 0);
    EXPECT_EQ(form.Control(Ctl::cbLookupEntity).SelectedText(), c.expected);
  }
}

TEST(DesignerFieldsTest, TheFieldListShowsEveryColumn) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("p.json", R"({"database": {"entities": [{"id": "t", "fields": [
    {"name": "colour", "label": "Colour", "type": "select", "options": ["red", "green"], "required": true},
    {"name": "code", "type": "string", "length": 12, "unique": true, "default": "x"},
    {"name": "odd", "type": "colour"}]}]}})"));
  const std::vector<FieldRow> expected = {
      {"colour", "Colour", "Select list (fixed options)", "255", "Yes", "", "Yes", "Yes", "Options: red, green"},
      {"code", "code", "Text (single line)", "12", "", "Yes", "Yes", "Yes", "Default: x"},
      {"odd", "odd", "colour (unsupported)", "", "", "", "Yes", "", ""}};
  EXPECT_EQ(form.FieldRows(), expected);
  form.Selected(Ctl::lvFields, 2);
  EXPECT_EQ(form.Control(Ctl::cbFieldType).selected, -1);
  form.Selected(Ctl::lvFields, 0);
  EXPECT_EQ(form.Control(Ctl::mmOptions).text, "red\r\ngreen\r\n");
  form.TextChanged(Ctl::mmOptions, " red \r\n\r\nblue\r\n");
  EXPECT_EQ(FieldOf(form, 0, 0).options, (std::vector<std::string>{"red", "blue"}));
  EXPECT_EQ(form.FieldRows()[0][8], "Options: red, blue");
}

TEST(DesignerFieldsTest, DeleteAndMoveKeepTheSelectionInStep) {
  DesignerSession s;
  DesignerForm& form = OpenShop(s);
  form.Clicked(Ctl::btnFieldUp);
  EXPECT_FALSE(form.Modified());
  form.Selected(Ctl::lvFields, 2);
  form.Clicked(Ctl::btnFieldDown);
  EXPECT_FALSE(form.Modified());
  form.Clicked(Ctl::btnFieldUp);
  EXPECT_EQ(FieldOf(form, 0, 1).name, "active");
  EXPECT_EQ(form.Control(Ctl::lvFields).selected, 1);
  EXPECT_TRUE(form.Modified());

  form.Selected(Ctl::lvFields, 0);
  s.ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  form.Clicked(Ctl::btnDeleteField);
  EXPECT_EQ(form.Project().entities[0].fields.size(), 3u);
  form.Clicked(Ctl::btnDeleteField);
  EXPECT_EQ(s.ui.LastMessage(), "Delete field \"name\" from the design?\r\n"
                                "(An existing database column is kept; it is simply no longer used.)");
  EXPECT_EQ(form.Project().entities[0].display_field, "");
  EXPECT_EQ(form.Control(Ctl::edFieldName).text, "active");
  EXPECT_EQ(FieldOf(form, 1, 0).lookup_field, "name");

  form.Clicked(Ctl::btnTableUp);
  form.Selected(Ctl::lbTables, 1);
  form.Clicked(Ctl::btnTableDown);
  EXPECT_EQ(form.Project().entities[1].id, "orders");
  form.Clicked(Ctl::btnTableUp);
  EXPECT_EQ(form.Project().entities[0].id, "orders");
  EXPECT_EQ(form.Control(Ctl::lbTables).selected, 0);
}

TEST(DesignerFieldsTest, AddFieldWithoutATableAsksForOne) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  form.Clicked(Ctl::btnAddField);
  ASSERT_EQ(s.ui.messages.size(), 1u);
  EXPECT_EQ(s.ui.messages[0].kind, MessageKind::Information);
  EXPECT_EQ(s.ui.messages[0].text, "Add or select a table first.");
  form.TextChanged(Ctl::edFieldName, "ignored");
  EXPECT_FALSE(form.Modified());
}

}  // namespace
}  // namespace qb::designer
