#include "designer/designer_form.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

#include "designer/window_system.hpp"
#include "designer_session.hpp"
#include "model/project.hpp"

namespace qb::designer {
namespace {

using test::DesignerSession;
using test::ReadBytes;

TEST(DesignerOpenTest, CaptionStatusAndStateFollowWhatWasOpened) {
  struct Case {
    std::string name;
    std::string file;       // written first when not empty
    std::string path_tail;  // "" opens with an empty path
    bool modified;
    std::string warning_start;
    std::string status_start;
  };
  const Case cases[] = {
      {"missing file", "", "new.json", true, "", ""},
      {"empty path", "", "", false, "", "(unsaved project)   |   0 table(s), 1 page(s)   |   SQLite"},
      {"JSON array", "[1, 2]", "array.json", false, "Could not read ", "(unsaved project)"},
      {"valid project", R"({"project": {"id": "shop"}, "target": {"database": "mariadb"}})", "shop.json", false, "",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DesignerSession s;
    std::string path = c.path_tail.empty() ? "" : s.dir.File(c.path_tail);
    if (!c.file.empty()) s.dir.Write(c.path_tail, c.file);
    const DesignerForm& form = s.Open(path);
    const bool keeps_name = c.warning_start.empty() && !path.empty();
    const std::string name = keeps_name ? path : "(unsaved project)";
    EXPECT_EQ(form.Caption(), "Kettlebourne Database Designer - " + name + (c.modified ? " *" : ""));
    EXPECT_EQ(form.Modified(), c.modified);
    EXPECT_EQ(form.FileName(), keeps_name ? path : "");
    EXPECT_EQ(form.ActiveTab(), kTablesTab);
    if (c.warning_start.empty()) {
      EXPECT_TRUE(s.ui.messages.empty());
    } else {
      ASSERT_EQ(s.ui.messages.size(), 1u);
      EXPECT_EQ(s.ui.messages[0].kind, MessageKind::Warning);
      EXPECT_TRUE(s.ui.messages[0].text.starts_with(c.warning_start + path + ":\r\n")) << s.ui.messages[0].text;
      EXPECT_TRUE(s.ui.messages[0].text.ends_with(
          "\r\n\r\nStarting a new project instead. Use Save As to choose where to save it."));
    }
    if (!c.status_start.empty()) {
      EXPECT_TRUE(form.Control(Ctl::lblStatus).text.starts_with(c.status_start));
    }
  }
}

TEST(DesignerOpenTest, ExecuteDesignerTrimsThePathAndSaveWritesThereWithoutAsking) {
  DesignerSession s;
  const std::string path = s.dir.File("fresh.json");
  test::ScriptedWindows windows(s.ui);
  windows.designer_session = [&](DesignerForm& form) {
    EXPECT_EQ(form.Caption(), "Kettlebourne Database Designer - " + path + " *");
    EXPECT_EQ(form.Project().project_id, "my-web-app");
    form.Clicked(Ctl::btnSave);
    form.Clicked(Ctl::btnCancel);
  };
  std::string passed = "  " + path + "  ";
  EXPECT_FALSE(ExecuteDesigner(windows, passed, true));
  EXPECT_EQ(passed, "  " + path + "  ");
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_TRUE(s.ui.dialogs.empty());
  EXPECT_TRUE(s.ui.messages.empty());
}

TEST(DesignerStatusTest, StatusLineCountsTablesAndPagesAndNamesTheEngine) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  for (int i = 0; i < 3; ++i) form.Clicked(Ctl::btnAddTable);
  form.Selected(Ctl::cbEngine, 2);
  EXPECT_EQ(form.Control(Ctl::lblStatus).text, "(unsaved project)   |   3 table(s), 1 page(s)   |   MariaDB");
  EXPECT_EQ(form.Caption(), "Kettlebourne Database Designer - (unsaved project) *");
}

TEST(DesignerProjectPageTest, EngineChoiceEnablesTheConnectionFieldsAndKeepsTheirTexts) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  const Ctl fields[] = {Ctl::edHost, Ctl::edPort, Ctl::edDBName, Ctl::edUser, Ctl::edPassword};
  for (Ctl id : fields) EXPECT_FALSE(form.Control(id).enabled);
  form.Selected(Ctl::cbEngine, 1);
  for (Ctl id : fields) EXPECT_TRUE(form.Control(id).enabled);
  form.TextChanged(Ctl::edHost, "  db.local ");
  form.TextChanged(Ctl::edPassword, " secret ");
  form.Selected(Ctl::cbEngine, 0);
  for (Ctl id : fields) EXPECT_FALSE(form.Control(id).enabled);
  EXPECT_TRUE(form.Control(Ctl::chkWriteEnv).enabled);
  EXPECT_EQ(form.Control(Ctl::edHost).text, "  db.local ");
  EXPECT_EQ(form.Project().db_host, "db.local");
  EXPECT_EQ(form.Project().db_password, " secret ");
  EXPECT_EQ(form.Project().db_engine, "sqlite");
}

TEST(DesignerProjectPageTest, UnknownEngineShowsSqliteAndTheFirstEditStoresIt) {
  DesignerSession s;
  const std::string path =
      s.dir.Write("p.json", R"({"target": {"database": "oracle", "cssFramework": "bulma"}})");
  DesignerForm& form = s.Open(path);
  EXPECT_EQ(form.Control(Ctl::cbEngine).selected, 0);
  EXPECT_TRUE(form.Control(Ctl::lblStatus).text.ends_with("SQLite (single file, no server needed)"));
  EXPECT_EQ(form.Project().db_engine, "oracle");
  form.TextChanged(Ctl::edProjectName, "M");
  EXPECT_EQ(form.Project().db_engine, "sqlite");
  EXPECT_EQ(form.Project().css_framework, "bootstrap5");
  EXPECT_EQ(form.Project().project_name, "M");
  EXPECT_TRUE(form.Modified());
}

TEST(DesignerProjectPageTest, EveryControlWritesItsSettingTrimmedOrAsTyped) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  form.TextChanged(Ctl::edProjectId, " shop ");
  form.TextChanged(Ctl::edProjectName, " Shop ");
  form.TextChanged(Ctl::edVersion, " 2.0 ");
  form.TextChanged(Ctl::edOutput, " ./out ");
  form.Selected(Ctl::cbCSS, 2);
  form.Checked(Ctl::chkPWA, true);
  form.Checked(Ctl::chkAPI, true);
  form.Checked(Ctl::chkWriteEnv, false);
  const model::Project& p = form.Project();
  EXPECT_EQ(p.project_id, "shop");
  EXPECT_EQ(p.project_name, " Shop ");
  EXPECT_EQ(p.version, "2.0");
  EXPECT_EQ(p.output_directory, "./out");
  EXPECT_EQ(p.css_framework, "plain-css");
  EXPECT_TRUE(p.pwa_enabled && p.api_enabled);
  EXPECT_FALSE(p.write_env);
}

TEST(DesignerProjectPageTest, PreviewShowsWhatSavingWrites) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.File("p.json"));
  form.TabChanged(kProjectTab);
  form.TextChanged(Ctl::edProjectName, "Renamed Shop");
  form.TabChanged(kPreviewTab);
  EXPECT_NE(form.Control(Ctl::mmPreview).text.find("\"name\": \"Renamed Shop\""), std::string::npos);
  form.Clicked(Ctl::btnSave);
  EXPECT_EQ(ReadBytes(form.FileName()), form.Control(Ctl::mmPreview).text);
}

TEST(DesignerFileTest, SaveOfANewProjectAsksForANameStartingWithTheProjectId) {
  DesignerSession s;
  DesignerForm& form = s.Open("");
  const std::string target = s.dir.File("chosen.json");
  s.ui.Choose(std::nullopt).Choose(target);
  form.Clicked(Ctl::btnSave);
  EXPECT_EQ(form.FileName(), "");
  form.Clicked(Ctl::btnSave);
  ASSERT_EQ(s.ui.dialogs.size(), 2u);
  const FileDialog& d = s.ui.dialogs[0].file;
  EXPECT_EQ(d.title, "Save Kettlebourne project");
  EXPECT_EQ(d.filter, "Kettlebourne project (*.json)|*.json|All files (*.*)|*.*");
  EXPECT_EQ(d.default_extension, "json");
  EXPECT_EQ(d.initial_file, "my-web-app.json");
  EXPECT_TRUE(d.prompt_overwrite && d.path_must_exist);
  EXPECT_EQ(form.FileName(), target);
  EXPECT_FALSE(form.Modified());
  EXPECT_EQ(form.Caption(), "Kettlebourne Database Designer - " + target);
}

TEST(DesignerFileTest, AFailedSaveKeepsTheOldFileTheEditsAndTheWindow) {
  DesignerSession s;
  const std::string path = s.Example("bookshop.json");
  const std::string before = ReadBytes(path);
  DesignerForm& form = s.Open(path);
  form.TabChanged(kProjectTab);
  form.TextChanged(Ctl::edProjectName, "Unsaved edit");
  // A folder where the save's temporary file would go makes the write fail, also for root.
  std::filesystem::create_directory(path + ".saving");
  form.Clicked(Ctl::btnSaveAndClose);
  EXPECT_FALSE(form.Closed());
  ASSERT_FALSE(s.ui.messages.empty());
  EXPECT_EQ(s.ui.messages.back().kind, MessageKind::Error);
  EXPECT_NE(s.ui.LastMessage().find(path), std::string::npos) << s.ui.LastMessage();
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(form.Modified());
  EXPECT_EQ(form.Project().project_name, "Unsaved edit");
}

// Runs check as an unprivileged user: in a child process that drops to "nobody" when the tests
// run as root (root writes into read-only folders). True when check returned true.
bool AsUnprivilegedUser(const std::filesystem::path& owned, const std::function<bool()>& check) {
  if (geteuid() != 0) return check();
  constexpr uid_t kNobody = 65534;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(owned))
    if (chown(entry.path().c_str(), kNobody, kNobody) != 0) return false;
  if (chown(owned.c_str(), kNobody, kNobody) != 0) return false;
  const pid_t child = fork();
  if (child == 0) _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 && check() ? 0 : 1);
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(DesignerFileTest, ASaveIntoAReadOnlyFolderFailsWithTheOldFileIntact) {
  DesignerSession s;
  const std::filesystem::path folder = s.dir.path() / "locked";
  std::filesystem::create_directory(folder);
  const std::string path = (folder / "p.json").string();
  s.dir.Write("locked/p.json", "{}");
  DesignerForm& form = s.Open(path);
  form.Clicked(Ctl::btnAddTable);
  const bool failed_cleanly = AsUnprivilegedUser(folder, [&] {
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    form.Clicked(Ctl::btnSave);
    return form.Modified() && s.ui.messages.back().kind == MessageKind::Error &&
           s.ui.LastMessage().find(path) != std::string::npos && !form.Closed();
  });
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  EXPECT_TRUE(failed_cleanly);
  EXPECT_EQ(ReadBytes(path), "{}");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST(DesignerFileTest, NewAndOpenAskBeforeDiscardingEdits) {
  DesignerSession s;
  const std::string bookshop = s.Example("bookshop.json");
  const std::string broken = s.dir.Write("broken.json", "{ not json");
  DesignerForm& form = s.Open("");
  form.Clicked(Ctl::btnAddTable);
  s.ui.Answer(MessageAnswer::No);
  form.Clicked(Ctl::btnOpen);
  EXPECT_EQ(s.ui.LastMessage(), "Discard unsaved changes and open another project?");
  EXPECT_EQ(form.Project().entities.size(), 1u);

  s.ui.Answer(MessageAnswer::Yes).Choose(bookshop);
  form.Clicked(Ctl::btnOpen);
  EXPECT_EQ(s.ui.dialogs.back().file.title, "Open Kettlebourne project");
  EXPECT_EQ(form.FileName(), bookshop);
  EXPECT_EQ(form.Project().project_id, "bookshop");
  EXPECT_FALSE(form.Modified());

  s.ui.Choose(broken);
  form.Clicked(Ctl::btnOpen);
  EXPECT_EQ(s.ui.dialogs.back().file.initial_file, bookshop);
  EXPECT_TRUE(s.ui.LastMessage().starts_with("Could not open the project: ")) << s.ui.LastMessage();
  EXPECT_EQ(form.FileName(), "");
  EXPECT_EQ(form.Project().project_id, "my-web-app");
  EXPECT_FALSE(form.Modified());

  form.TextChanged(Ctl::edProjectId, "x");
  s.ui.Answer(MessageAnswer::Yes);
  form.Clicked(Ctl::btnNew);
  EXPECT_EQ(s.ui.LastMessage(), "Discard unsaved changes and start a new project?");
  for (const test::ShownMessage& m : s.ui.messages)
    if (m.text.starts_with("Discard")) {
      EXPECT_EQ(m.buttons, MessageButtons::YesNoDefaultNo) << m.text;
    }
  EXPECT_EQ(form.Project().project_id, "my-web-app");
  EXPECT_EQ(form.ActiveTab(), kProjectTab);
  EXPECT_TRUE(s.ui.AllAnswersUsed());
}

TEST(DesignerCloseTest, CancelAsksOnlyWithUnsavedChangesAndKeepsTheCallersPath) {
  DesignerSession s;
  test::ScriptedWindows windows(s.ui);
  const std::string other = s.dir.File("other.json");
  windows.designer_session = [&](DesignerForm& form) {
    form.TabChanged(kProjectTab);
    form.TextChanged(Ctl::edProjectName, "Edited");
    s.ui.Answer(MessageAnswer::No);
    form.Clicked(Ctl::btnCancel);
    EXPECT_FALSE(form.Closed());
    EXPECT_EQ(form.Project().project_name, "Edited");
    s.ui.Choose(other);
    form.Clicked(Ctl::btnSaveAs);
    form.TextChanged(Ctl::edProjectName, "Edited again");
    s.ui.Answer(MessageAnswer::Yes);
    form.CloseRequested();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(form.Result(), ModalResult::Cancel);
  };
  std::string path = "";
  EXPECT_FALSE(ExecuteDesigner(windows, path, true));
  EXPECT_EQ(path, "");
  EXPECT_EQ(s.ui.messages.size(), 2u);
  EXPECT_EQ(s.ui.messages[0].text, "Close the designer without saving your changes?");
  EXPECT_EQ(s.ui.messages[0].kind, MessageKind::Confirmation);
  // No is the default, so Escape then Enter keeps the work.
  EXPECT_EQ(s.ui.messages[0].buttons, MessageButtons::YesNoDefaultNo);
  EXPECT_TRUE(std::filesystem::exists(other));

  DesignerSession quiet;
  DesignerForm& form = quiet.Open("");
  form.Clicked(Ctl::btnCancel);
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(quiet.ui.messages.empty());
}

TEST(DesignerFileTest, BrowseStoresTheChosenFolderAbsolute) {
  DesignerSession s;
  DesignerForm& form = s.Open(s.dir.File("p.json"));
  s.ui.Choose(std::nullopt).Choose(s.dir.path().string() + "/out/../site");
  form.Clicked(Ctl::btnBrowseOutput);
  EXPECT_EQ(form.Project().output_directory, "./build");
  form.Clicked(Ctl::btnBrowseOutput);
  EXPECT_EQ(s.ui.dialogs[0].caption, "Select the folder for the generated web application");
  EXPECT_EQ(s.ui.dialogs[0].start, s.dir.path().string() + "/build");
  EXPECT_EQ(form.Project().output_directory, s.dir.path().string() + "/site");
  EXPECT_EQ(form.Control(Ctl::edOutput).text, s.dir.path().string() + "/site");
}

}  // namespace
}  // namespace qb::designer
