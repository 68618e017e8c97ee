#include "designer/action_editor.hpp"

#include <gtest/gtest.h>

#include "scripted_ui.hpp"

namespace qb::designer {
namespace {

using test::ScriptedUi;

std::vector<std::string> EditTexts(const ActionEditor& editor) {
  std::vector<std::string> texts;
  for (const EditorRow& row : editor.Rows()) texts.push_back(row.edit.text);
  return texts;
}

std::vector<std::string> ButtonCaptions(const EditorRow& row) {
  std::vector<std::string> captions;
  for (const RowButtonSpec& b : row.buttons) captions.push_back(b.caption + "@" + std::to_string(b.left));
  return captions;
}

TEST(ActionEditorTest, EmptyParametersShowTheirDefaultsAndOkReturnsThem) {
  ScriptedUi ui;
  ActionEditor editor(ui, 6, {"", "", ""}, nullptr);
  EXPECT_EQ(editor.Title(), "KTBGenerateApplication Properties");
  const std::vector<std::string> defaults = {"C:\\QuillbarrowDemo\\crud-project.json",
                                             "C:\\QuillbarrowDemo\\output\\base-app", "[KTBGenerateResult]"};
  EXPECT_EQ(EditTexts(editor), defaults);
  EXPECT_FALSE(editor.SaveParams());
  editor.OkClick();
  EXPECT_EQ(editor.SaveParams(), defaults);
}

TEST(ActionEditorTest, RowsCarryTheirButtonsWidthsAndHeight) {
  struct Case {
    int action;
    int height;
    std::vector<std::vector<std::string>> buttons;
    std::vector<int> edit_widths;
  };
  const Case cases[] = {
      {1, 170, {{"Variable Selector@456"}}, {430}},
      {5, 286,
       {{"Browse...@380", "File Selector@462", "File Options@554", "Design@652"},
        {"Browse...@380", "File Selector@462", "File Options@554"},
        {"Variable Selector@456"}},
       {354, 354, 430}},
      {7, 460,
       {{"Browse...@380", "File Selector@462", "File Options@554", "Design@652"},
        {"Browse...@380"}, {}, {}, {"Choose Colour...@456"}, {"Variable Selector@456"}},
       {354, 354, 490, 490, 430, 430}},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    ActionEditor editor(ui, c.action, {}, nullptr);
    EXPECT_EQ(editor.ClientHeight(), c.height);
    ASSERT_EQ(editor.Rows().size(), c.buttons.size());
    for (std::size_t i = 0; i < c.buttons.size(); ++i) {
      EXPECT_EQ(ButtonCaptions(editor.Rows()[i]), c.buttons[i]) << c.action << " row " << i;
      EXPECT_EQ(editor.Rows()[i].edit_width, c.edit_widths[i]) << c.action << " row " << i;
      EXPECT_EQ(editor.Rows()[i].top, 58 * static_cast<int>(i) + 16);
      for (const RowButtonSpec& b : editor.Rows()[i].buttons)  // the margin OK and Cancel keep
        EXPECT_LE(b.left + b.width, ActionEditor::kClientWidth - 16) << c.action << " " << b.caption;
    }
  }
}

TEST(ActionEditorTest, PresetAndLayoutListsSelectTheMatchingEntryOrTheDefault) {
  struct Case {
    std::string preset, layout, saved_preset, saved_layout;
  };
  const Case cases[] = {
      {"Midnight", "WIDE", "midnight", "wide"},
      {"neon", "", "studio", "dashboard"},
      {"", "centered", "studio", "centered"},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    ActionEditor editor(ui, 7, {"p.json", "out", c.preset, c.layout, "#2563eb", "[V]"}, nullptr);
    EXPECT_FALSE(editor.Rows()[2].edit.visible);
    EXPECT_EQ(editor.Rows()[2].combo->items, (std::vector<std::string>{"studio", "midnight", "editorial", "campus"}));
    EXPECT_EQ(editor.Rows()[3].combo->hint, "Choose the main page width/layout.");
    editor.OkClick();
    const auto saved = editor.SaveParams();
    EXPECT_EQ((*saved)[2], c.saved_preset);
    EXPECT_EQ((*saved)[3], c.saved_layout);
  }
  ScriptedUi ui;
  ActionEditor editor(ui, 7, {}, nullptr);
  editor.ComboChange(2, 2);
  editor.ComboChange(3, 7);
  editor.OkClick();
  EXPECT_EQ((*editor.SaveParams())[2], "editorial");
  EXPECT_EQ((*editor.SaveParams())[3], "dashboard");
}

TEST(ActionEditorTest, TheColourDialogRoundTripsTheAccent) {
  struct Case {
    std::string accent;
    std::string dialog_start;
    std::optional<Rgb> chosen;
    std::string saved;
  };
  const Case cases[] = {
      {"#2563eb", "#2563EB", Rgb{0x25, 0x63, 0xEB}, "#2563EB"},
      {" #0f766e ", "#0F766E", Rgb{0, 0, 0}, "#000000"},
      {"#zz0000", "", Rgb{255, 16, 1}, "#FF1001"},
      {"blue", "", std::nullopt, "blue"},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    ui.ChooseColourAnswer(c.chosen);
    ActionEditor editor(ui, 7, {"", "", "", "", c.accent, ""}, nullptr);
    editor.ButtonClick(4, RowButton::ChooseColour);
    EXPECT_EQ(ui.dialogs.at(0).start, c.dialog_start) << c.accent;
    EXPECT_EQ(editor.Rows()[4].edit.text, c.saved) << c.accent;
  }
}

TEST(ActionEditorTest, HostDialogsGetTheExactRequestTexts) {
  ScriptedUi ui;
  ui.Host(15, {true, "C:\\chosen.json"}).Host(16, {false, "ignored"});
  ActionEditor editor(ui, 3, {"C:\\p\\shop.json", ""}, nullptr);
  editor.ButtonClick(0, RowButton::FileOptions);
  EXPECT_EQ(editor.Rows()[0].edit.text, "C:\\p\\shop.json");
  editor.ButtonClick(0, RowButton::FileSelector);
  EXPECT_EQ(editor.Rows()[0].edit.text, "C:\\chosen.json");
  const std::vector<std::pair<int, std::string>> expected = {
      {16, "C:\\p\\shop.json\rC:\\p\\\rJSON files (*.json)|*.json|All files (*.*)|*.*\rTrue\rTrue"},
      {15, "Select a Quillbarrow project or output file\rC:\\p\\shop.json\rC:\\p\\\r"
           "JSON files (*.json)|*.json|All files (*.*)|*.*\r1"}};
  EXPECT_EQ(ui.host_requests, expected);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(ActionEditorTest, VariableSelectorPublicationAndEmbeddedFiles) {
  struct Case {
    bool interfaces;
    bool answer_ok;
    std::string answer_text;
    std::string variable;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {true, true, "[Chosen]", "[Chosen]", {"Current VisualNEO publication:\r\n[Chosen]"}},
      {true, true, "", "[KTBVersion]", {"VisualNEO did not return a publication path."}},
      {true, false, "x", "[KTBVersion]",
       {"VisualNEO did not return a publication path.", "VisualNEO Embedded Files dialog could not be opened."}},
      {false, true, "x", "[KTBVersion]",
       {"VisualNEO Win interface is not available.", "VisualNEO did not return a publication path.",
        "VisualNEO Embedded Files dialog could not be opened."}},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    for (int n : {12, 13, 14}) ui.Host(n, {c.answer_ok, c.answer_text});
    if (!c.interfaces) ui.WithoutHostInterfaces();
    ActionEditor editor(ui, 1, {""}, nullptr);
    editor.ButtonClick(0, RowButton::VariableSelector);
    editor.PublicationClick();
    editor.EmbeddedFilesClick();
    EXPECT_EQ(editor.Rows()[0].edit.text, c.variable);
    std::vector<std::string> shown;
    for (const auto& m : ui.messages) shown.push_back(m.text);
    EXPECT_EQ(shown, c.messages);
  }
}

TEST(ActionEditorTest, BrowseAndDesignFillTheRow) {
  ScriptedUi ui;
  ui.Choose("C:\\picked.json").Choose("C:\\plan.json").Choose(std::nullopt);
  std::string designed_from;
  ActionEditor plan(ui, 5, {"C:\\a.json", "C:\\out\\plan.json", ""}, [&](std::string& path) {
    designed_from = path;
    path = "C:\\designed.json";
    return true;
  });
  plan.ButtonClick(0, RowButton::Browse);
  plan.ButtonClick(1, RowButton::Browse);
  EXPECT_EQ(ui.dialogs[0].file.title, "Select Quillbarrow project JSON");
  EXPECT_EQ(ui.dialogs[0].file.initial_file, "C:\\a.json");
  EXPECT_EQ(ui.dialogs[1].file.title, "Save generation plan");
  EXPECT_TRUE(ui.dialogs[1].file.prompt_overwrite && ui.dialogs[1].file.path_must_exist);
  EXPECT_EQ(plan.Rows()[1].edit.text, "C:\\plan.json");
  plan.ButtonClick(0, RowButton::Design);
  EXPECT_EQ(designed_from, "C:\\picked.json");
  EXPECT_EQ(plan.Rows()[0].edit.text, "C:\\designed.json");

  ActionEditor generate(ui, 6, {"", "C:\\out", ""}, nullptr);
  generate.ButtonClick(1, RowButton::Browse);
  EXPECT_EQ(ui.dialogs[2].kind, "folder");
  EXPECT_EQ(ui.dialogs[2].caption, "Select output directory");
  EXPECT_EQ(ui.dialogs[2].start, "C:\\out");
  EXPECT_EQ(generate.Rows()[1].edit.text, "C:\\out");
  EXPECT_TRUE(ui.AllAnswersUsed());
}

TEST(ActionEditorTablesTest, RowsMapToSlotsWithinTheSlotsTheHostPassed) {
  struct Case {
    int action, slots;
    std::vector<int> expected;  // slot of each row
  };
  const Case cases[] = {
      {7, 6, {0, 1, 2, 3, 4, 5}}, {7, 3, {0, 1, -1, -1, -1, 2}}, {7, 4, {0, 1, -1, -1, -1, 2}},
      {7, 1, {0, -1, -1, -1, -1, -1}}, {5, 2, {0, 1, -1}}, {1, 0, {-1}}, {8, 2, {0, 1}},
  };
  for (const Case& c : cases) {
    std::vector<int> got;
    for (int i = 0; i < ActionParamCount(c.action); ++i) got.push_back(ParamSlotIndex(c.action, i, c.slots));
    EXPECT_EQ(got, c.expected) << c.action << " with " << c.slots;
  }
  EXPECT_EQ(ActionParamCount(9), 0);
  EXPECT_EQ(ActionEditorTitle(0), "Quillbarrow Generator Properties");
  EXPECT_EQ(ActionParamCaption(9, 0), "Parameter:");
}

}  // namespace
}  // namespace qb::designer
