#include <gtest/gtest.h>

#include <filesystem>

#include "check/project_validator.hpp"
#include "designer/designer_form.hpp"
#include "designer/window_system.hpp"
#include "support/process.hpp"
#include "designer_session.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;
using test::ReadBytes;

constexpr std::string_view kTwoTables = R"({"project": {"id": "shop", "name": "Shop"},
  "target": {"database": "mysql"},
  "database": {"entities": [
    {"id": "customers", "fields": [{"name": "name"}]},
    {"id": "orders", "fields": [{"name": "customer_id", "type": "lookup", "lookupEntity": "customers"}]}]},
  "pages": [{"id": "about"}],
  "build": {"outputDirectory": "./site"}})";

TEST(DesignerCheckTest, ValidateReportsTheCountsOrTheProblemsAndLeavesNoTrace) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("shop.json", kTwoTables));
  form.Clicked(Ctl::btnValidate);
  ASSERT_EQ(s.ui.messages.size(), 1u);
  EXPECT_EQ(s.ui.messages[0].kind, MessageKind::Information);
  EXPECT_EQ(s.ui.messages[0].text,
            "The design is valid and ready to generate.\r\n\r\n2 table(s), 1 page(s), database: mysql.");

  form.TextChanged(Ctl::edTableId, "Bad Id");
  form.Clicked(Ctl::btnValidate);
  EXPECT_EQ(s.ui.messages[1].kind, MessageKind::Warning);
  EXPECT_TRUE(s.ui.messages[1].text.starts_with("Please fix the following:\r\n\r\n")) << s.ui.messages[1].text;
  EXPECT_NE(s.ui.messages[1].text.find("Bad Id"), std::string::npos) << s.ui.messages[1].text;
  EXPECT_TRUE(s.TempIsEmpty());
  EXPECT_EQ(ReadBytes(form.FileName()), kTwoTables);
}

TEST(DesignerCheckTest, SaveAndCloseAsksWhenTheDesignHasProblems) {
  DesignerSession s;
  test::ScriptedWindows windows(s.ui);
  const std::string target = s.dir.File("saved.json");
  windows.designer_session = [&](DesignerForm& form) {
    form.Clicked(Ctl::btnAddTable);
    form.TextChanged(Ctl::edTableId, "9bad");
    s.ui.Answer(MessageAnswer::No);
    form.Clicked(Ctl::btnSaveAndClose);
    EXPECT_FALSE(form.Closed());
    s.ui.Answer(MessageAnswer::Yes).Choose(target);
    form.Clicked(Ctl::btnSaveAndClose);
    EXPECT_TRUE(form.Closed());
  };
  std::string path;
  EXPECT_TRUE(ExecuteDesigner(windows, path, true));
  EXPECT_EQ(path, target);
  EXPECT_TRUE(s.ui.messages[0].text.starts_with("The design still has problems:\r\n\r\n"));
  EXPECT_TRUE(s.ui.messages[0].text.ends_with("\r\n\r\nSave and close anyway?"));
  EXPECT_NE(ReadBytes(target).find("\"id\": \"9bad\""), std::string::npos);
}

TEST(DesignerCheckTest, SaveAndCloseOfAnUnchangedProjectWritesNothing) {
  DesignerSession s;
  const std::string path = s.dir.Write("shop.json", kTwoTables);
  DesignerForm& form = s.Open(path);
  form.Clicked(Ctl::btnSaveAndClose);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(form.Result(), ModalResult::Ok);
  EXPECT_EQ(ReadBytes(path), kTwoTables);
}

TEST(DesignerGenerateTest, ProblemsStopGenerationBeforeAnythingIsWritten) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("shop.json", kTwoTables));
  form.TextChanged(Ctl::edTableId, "");
  form.Clicked(Ctl::btnGenerate);
  EXPECT_TRUE(s.ui.LastMessage().starts_with("The design has problems; nothing was generated:\r\n\r\n"));
  EXPECT_FALSE(std::filesystem::exists(s.dir.path() / "site"));
  EXPECT_EQ(ReadBytes(form.FileName()), kTwoTables);
}

TEST(DesignerGenerateTest, GeneratesTheCrudAppOrTheBaseAppIntoTheResolvedFolder) {
  for (const bool with_tables : {true, false}) {
    SCOPED_TRACE(with_tables);
    DesignerSession s;
    DesignerForm& form = s.Open(s.dir.Write("shop.json", kTwoTables));
    if (!with_tables) {
      s.ui.Answer(MessageAnswer::Yes).Answer(MessageAnswer::Yes);
      form.Clicked(Ctl::btnDeleteTable);
      form.Clicked(Ctl::btnDeleteTable);
    }
    const std::string folder = (s.dir.path() / "site").string();
    s.ui.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Yes);
    form.Clicked(Ctl::btnGenerate);
    const auto& m = s.ui.messages;
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ(m[m.size() - 2].text, "Generate the web application into:\r\n" + folder +
                                        "\r\n\r\nGenerated files in that folder are overwritten; your data and .env "
                                        "edits are kept.");
    EXPECT_EQ(m[m.size() - 2].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(m.back().text.starts_with("Web application generated.\r\n\r\nGenerated ")) << m.back().text;
    EXPECT_TRUE(m.back().text.ends_with("\r\n\r\nOpen the output folder now?"));
    EXPECT_EQ(s.ui.opened_folders, std::vector<std::string>{folder});
    EXPECT_EQ(s.ui.busy_calls, 1);
    EXPECT_EQ(s.ui.busy_depth, 0);
    EXPECT_FALSE(form.Modified());
    EXPECT_FALSE(form.Closed());
    const std::string layout = ReadBytes(s.dir.path() / "site/app/Views/layouts/main.php");
    EXPECT_EQ(layout.find("ktb-theme-studio ktb-layout-dashboard") != std::string::npos, with_tables);
    EXPECT_EQ(std::filesystem::exists(s.dir.path() / "site/app/Controllers/CustomersCrudController.php"),
              with_tables);
    EXPECT_TRUE(s.TempIsEmpty());
  }
}

TEST(DesignerGenerateTest, AnUnsavedProjectIsSavedFirstAndAnEmptyFolderIsAProblem) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  form.Clicked(Ctl::btnAddTable);
  s.ui.Choose(std::nullopt);
  form.Clicked(Ctl::btnGenerate);
  EXPECT_TRUE(s.ui.messages.empty());
  EXPECT_EQ(s.ui.dialogs.back().kind, "save");

  const std::string project = s.dir.File("p.json");
  s.ui.Choose(project).Answer(MessageAnswer::Cancel);
  form.Clicked(Ctl::btnGenerate);
  EXPECT_EQ(s.ui.LastMessage(), "Generate the web application into:\r\n" + (s.dir.path() / "build").string() +
                                    "\r\n\r\nGenerated files in that folder are overwritten; your data and .env edits "
                                    "are kept.");
  EXPECT_FALSE(form.Modified());
  EXPECT_TRUE(std::filesystem::exists(project));
  EXPECT_FALSE(std::filesystem::exists(s.dir.path() / "build"));

  form.TabChanged(kProjectTab);
  form.TextChanged(Ctl::edOutput, " ");
  form.Clicked(Ctl::btnGenerate);
  EXPECT_EQ(s.ui.LastMessage(),
            "The design has problems; nothing was generated:\r\n\r\nbuild.outputDirectory must not be empty.");
  EXPECT_TRUE(s.ui.AllAnswersUsed());
}

TEST(DesignerGenerateTest, AFailedGenerationIsReported) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.Write("shop.json", kTwoTables));
  s.dir.Write("site/foreign.txt", "not generated here");
  s.ui.Answer(MessageAnswer::Ok);
  form.Clicked(Ctl::btnGenerate);
  EXPECT_EQ(s.ui.messages.back().kind, MessageKind::Error);
  EXPECT_TRUE(s.ui.LastMessage().starts_with("Generation failed:\r\n\r\n")) << s.ui.LastMessage();
  EXPECT_TRUE(s.ui.opened_folders.empty());
}

TEST(DesignerRoundTripTest, OpeningAndSavingAnExampleWritesWhatFormatWrites) {
  for (const std::string name : {"bookshop.json", "club-events.json"}) {
    SCOPED_TRACE(name);
    DesignerSession s;
    const std::string path = s.Example(name);
    const std::string formatted = s.dir.File("formatted.json");
    const test::ProcessResult format = test::RunProcess(QB_CLI_PATH, {"format", path, formatted});
    ASSERT_EQ(format.exit_code, 0) << format.err;
    DesignerForm& form = s.Open(path);
    for (int tab : {kProjectTab, kPagesTab, kPreviewTab, kTablesTab}) form.TabChanged(tab);
    form.Clicked(Ctl::btnSave);
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_EQ(ReadBytes(path), ReadBytes(formatted));
  }
}

TEST(DesignerRoundTripTest, ATableWithALookupAndAPageSurviveSavingAndReopening) {
  DesignerSession s;
  const std::string path = s.Example("bookshop.json");
  {
    DesignerForm& form = s.Open(path);
    form.Clicked(Ctl::btnAddTable);
    form.TextChanged(Ctl::edTableName, "Reviews");
    form.Clicked(Ctl::btnAddField);
    form.TextChanged(Ctl::edFieldLabel, "Book id");
    form.Selected(Ctl::cbFieldType, 13);
    form.Selected(Ctl::cbLookupEntity, 1);
    form.TabChanged(kPagesTab);
    form.Clicked(Ctl::btnAddPage);
    form.GridCellEdited(form.Grid().row, 0, "faq");
    form.TextChanged(Ctl::edPageContent, "Questions");
    form.Clicked(Ctl::btnSaveAndClose);
    ASSERT_TRUE(form.Closed()) << s.ui.LastMessage();
  }
  DesignerForm& reopened = s.Open(path);
  const model::Project& p = reopened.Project();
  const model::Entity* reviews = p.FindEntity("reviews");
  ASSERT_NE(reviews, nullptr);
  ASSERT_EQ(reviews->fields.size(), 2u);
  EXPECT_EQ(reviews->fields[1].name, "book_id");
  EXPECT_EQ(reviews->fields[1].type, "lookup");
  EXPECT_EQ(reviews->fields[1].lookup_entity, p.entities[1].id);
  EXPECT_EQ(p.pages.back().id, "faq");
  EXPECT_EQ(p.pages.back().content, "Questions");
  const ValidationOutcome v = ValidateProjectFile(path);
  EXPECT_TRUE(v.ok) << v.message;
}

}  // namespace
}  // namespace qb::designer
