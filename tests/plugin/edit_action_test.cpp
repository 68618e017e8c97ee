// The exports with the designer windows played by a scripted user interface.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "designer/scripted_ui.hpp"
#include "plugin/host_abi.hpp"
#include "plugin/host_interfaces.hpp"
#include "support/temp_dir.hpp"

namespace {

using qb::designer::ActionEditor;
using qb::designer::Ctl;
using qb::designer::DesignerForm;

std::vector<std::pair<std::string, std::string>> g_writes;
void QB_STDCALL OnSetVariable(char* name, char* value) { g_writes.emplace_back(name, value); }

// Slots holding host blocks, as the host hands them over.
class Slots {
 public:
  explicit Slots(std::vector<std::string> texts) {
    for (const std::string& t : texts) slots_.push_back(strdup(t.c_str()));
  }
  ~Slots() {
    for (char* s : slots_) std::free(s);
  }
  char** data() { return slots_.data(); }
  int last() const { return static_cast<int>(slots_.size()) - 1; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (char* s : slots_) texts.emplace_back(s ? s : "<null>");
    return texts;
  }
  std::vector<char*> Blocks() const { return slots_; }

 private:
  std::vector<char*> slots_;
};

class EditActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_writes.clear();
    nbRegisterPlugIn(nullptr, nullptr, nullptr, &OnSetVariable);
    qb::designer::SetWindowSystemFactory([this](const qb::designer::HostInterfaces&) {
      auto windows = std::make_unique<qb::test::ScriptedWindows>(ui_);
      windows->designer_session = designer_session_;
      windows->editor_session = editor_session_;
      return windows;
    });
  }
  void TearDown() override {
    qb::designer::SetWindowSystemFactory(nullptr);
    nbRegisterPlugIn(nullptr, nullptr, nullptr, nullptr);
  }

  qb::test::TempDir dir_;
  qb::test::ScriptedUi ui_{dir_.path().string()};
  std::function<void(DesignerForm&)> designer_session_;
  std::function<void(ActionEditor&)> editor_session_;
};

TEST_F(EditActionTest, OkWritesExactlyTheDialogTextsIntoTheSlots) {
  for (int action = 1; action <= 7; ++action) {
    SCOPED_TRACE(action);
    std::vector<std::string> shown;
    editor_session_ = [&](ActionEditor& editor) {
      editor.TextChanged(0, "typed é");
      for (const auto& row : editor.Rows()) shown.push_back(row.edit.text);
      editor.OkClick();
    };
    Slots slots(std::vector<std::string>(static_cast<std::size_t>(qb::designer::ActionParamCount(action)), ""));
    EXPECT_EQ(nbEditAction(action, slots.data(), slots.last()), 1);
    EXPECT_EQ(slots.Texts(), shown);
    EXPECT_EQ(shown.at(0), "typed é");
    EXPECT_TRUE(g_writes.empty());
  }
}

TEST_F(EditActionTest, CancelAndTheOlderCrudFormTouchNoSlotBeyondTheirOwn) {
  editor_session_ = [](ActionEditor& editor) { editor.CancelClick(); };
  Slots cancelled({"a.json", "[V]"});
  const std::vector<char*> before = cancelled.Blocks();
  EXPECT_EQ(nbEditAction(3, cancelled.data(), cancelled.last()), 0);
  EXPECT_EQ(cancelled.Blocks(), before);

  editor_session_ = [](ActionEditor& editor) {
    EXPECT_EQ(editor.Rows()[5].edit.text, "[Old]");
    editor.TextChanged(0, "p.json");
    editor.OkClick();
  };
  Slots older({"", "out", "[Old]"});
  EXPECT_EQ(nbEditAction(7, older.data(), older.last()), 1);
  EXPECT_EQ(older.Texts(), (std::vector<std::string>{"p.json", "out", "[Old]"}));

  Slots none({});
  EXPECT_EQ(nbEditAction(9, none.data(), -1), 0);
  editor_session_ = [](ActionEditor& editor) { editor.OkClick(); };
  EXPECT_EQ(nbEditAction(5, nullptr, 2), 1);
}

TEST_F(EditActionTest, DesignActionHandsTheSavedPathBack) {
  const std::string saved = (dir_.path() / "designed.json").string();
  designer_session_ = [&](DesignerForm& form) {
    ui_.Choose(saved);
    form.Clicked(Ctl::btnSaveAndClose);
  };
  Slots empty_variable({"", ""});
  EXPECT_EQ(nbEditAction(8, empty_variable.data(), empty_variable.last()), 1);
  EXPECT_EQ(empty_variable.Texts(), (std::vector<std::string>{saved, "[KTBDesignResult]"}));
  EXPECT_TRUE(std::filesystem::exists(saved));

  designer_session_ = [](DesignerForm& form) { form.Clicked(Ctl::btnSaveAndClose); };
  Slots own_variable({saved, "[MyVar]"});
  EXPECT_EQ(nbEditAction(8, own_variable.data(), own_variable.last()), 1);
  EXPECT_EQ(own_variable.Texts(), (std::vector<std::string>{saved, "[MyVar]"}));

  designer_session_ = [this](DesignerForm& form) {
    ui_.Answer(qb::designer::MessageAnswer::Yes);
    form.Clicked(Ctl::btnCancel);
  };
  Slots cancelled({" x.json ", ""});
  const std::vector<char*> before = cancelled.Blocks();
  EXPECT_EQ(nbEditAction(8, cancelled.data(), cancelled.last()), 0);
  EXPECT_EQ(cancelled.Blocks(), before);
  EXPECT_EQ(cancelled.Texts(), (std::vector<std::string>{" x.json ", ""}));
}

TEST_F(EditActionTest, DesignActionResultTexts) {
  const std::string saved = (dir_.path() / "run.json").string();
  designer_session_ = [&](DesignerForm& form) { form.Clicked(Ctl::btnSaveAndClose); };
  Slots run({"  " + saved, "[R]"});
  EXPECT_EQ(nbExecAction(8, run.data(), run.last()), 1);
  designer_session_ = [this](DesignerForm& form) {
    ui_.Answer(qb::designer::MessageAnswer::Yes);
    form.Clicked(Ctl::btnCancel);
  };
  Slots cancel({" typed.json ", "[R]"});
  EXPECT_EQ(nbExecAction(8, cancel.data(), cancel.last()), 0);
  const std::vector<std::pair<std::string, std::string>> expected = {{"[R]", "OK|" + saved},
                                                                     {"[R]", "CANCEL| typed.json "}};
  EXPECT_EQ(g_writes, expected);
}

TEST_F(EditActionTest, WithoutAWindowSystemBothReportTheErrorAndTouchNoSlot) {
  qb::designer::SetWindowSystemFactory(nullptr);
  for (int action : {8, 3}) {
    g_writes.clear();
    Slots slots({"p.json", ""});
    const std::vector<char*> before = slots.Blocks();
    EXPECT_EQ(nbEditAction(action, slots.data(), slots.last()), 0);
    EXPECT_EQ(slots.Blocks(), before);
    EXPECT_EQ(nbExecAction(8, slots.data(), slots.last()), 0);
    const std::vector<std::pair<std::string, std::string>> expected(
        2, {"[LastError]", "Quillbarrow: The designer window needs Windows."});
    EXPECT_EQ(g_writes, expected);
  }
}

std::vector<std::pair<int, std::string>> g_requests;
std::int32_t QB_STDCALL OnInterface(int number, char** slot) {
  g_requests.emplace_back(number, *slot ? *slot : "<null>");
  std::free(*slot);
  *slot = strdup(number == 14 ? "[Picked]" : "");
  return number == 14 ? 0x101 : 0x100;  // only the low byte counts
}

TEST_F(EditActionTest, HostInterfacesGetTheRequestInASlotAndAnswerInIt) {
  EXPECT_FALSE(qb::host::CallHostInterface(14, "").ok);
  nbRegisterInterfaceAccess(&OnInterface);
  const qb::designer::HostAnswer picked = qb::host::CallHostInterface(14, "");
  const qb::designer::HostAnswer refused = qb::host::CallHostInterface(15, "line1\rline2");
  nbRegisterInterfaceAccess(nullptr);
  EXPECT_TRUE(picked.ok);
  EXPECT_EQ(picked.text, "[Picked]");
  EXPECT_FALSE(refused.ok);
  const std::vector<std::pair<int, std::string>> expected = {{14, ""}, {15, "line1\rline2"}};
  EXPECT_EQ(g_requests, expected);
}

}  // namespace
