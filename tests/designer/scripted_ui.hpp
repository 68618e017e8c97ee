// A user-interface double: answers the dialogs in the order a test scripts them and records
// every message and dialog, so a test reads like a user's session.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "designer/ui_port.hpp"
#include "designer/window_system.hpp"

namespace qb::test {

struct ShownMessage {
  designer::MessageKind kind;
  designer::MessageButtons buttons;
  std::string text;
};

struct AskedDialog {
  std::string kind;  // "open", "save", "folder" or "colour"
  designer::FileDialog file;  // for "open" and "save"
  std::string caption;        // for "folder"
  std::string start;          // start folder, or the start colour as "#RRGGBB" ("" for none)
};

class ScriptedUi : public designer::UiPort {
 public:
  explicit ScriptedUi(std::string temp_folder = {}) : temp_folder_(std::move(temp_folder)) {}

  // The next answers, consumed in order. A question (Yes/No, OK/Cancel) or a dialog that the
  // script did not foresee fails the test and is answered No, Cancel or "cancelled".
  ScriptedUi& Answer(designer::MessageAnswer answer);
  ScriptedUi& Choose(std::optional<std::string> file_or_folder);
  ScriptedUi& ChooseColourAnswer(std::optional<designer::Rgb> colour);
  // What the host answers on an SDK interface; unscripted numbers answer false.
  ScriptedUi& Host(int number, designer::HostAnswer answer);
  ScriptedUi& WithoutHostInterfaces();

  std::vector<ShownMessage> messages;
  std::vector<AskedDialog> dialogs;
  std::vector<std::pair<int, std::string>> host_requests;
  std::vector<std::string> opened_folders;
  int busy_depth = 0;
  int busy_calls = 0;
  bool AllAnswersUsed() const { return script_.empty(); }

  // The last message's text, or "" when none was shown.
  std::string LastMessage() const { return messages.empty() ? "" : messages.back().text; }

  designer::MessageAnswer ShowMessage(designer::MessageKind kind, designer::MessageButtons buttons,
                                      std::string_view text) override;
  std::optional<std::string> OpenFile(const designer::FileDialog& dialog) override;
  std::optional<std::string> SaveFile(const designer::FileDialog& dialog) override;
  std::optional<std::string> PickFolder(std::string_view caption, std::string_view start_folder) override;
  std::optional<designer::Rgb> ChooseColour(std::optional<designer::Rgb> start) override;
  void SetBusyCursor(bool busy) override;
  void OpenInFileManager(std::string_view folder) override { opened_folders.emplace_back(folder); }
  std::string TempFolder() override { return temp_folder_; }
  bool HasHostInterfaces() override { return host_interfaces_; }
  designer::HostAnswer CallHostInterface(int number, std::string_view request) override;

 private:
  using Step = std::variant<designer::MessageAnswer, std::optional<std::string>, std::optional<designer::Rgb>>;
  template <typename T>
  std::optional<T> Next(const char* what);

  std::string temp_folder_;
  std::deque<Step> script_;
  std::map<int, designer::HostAnswer> host_answers_;
  bool host_interfaces_ = true;
};

// A window system whose "windows" run a test's function on the controller, as a user would.
class ScriptedWindows : public designer::WindowSystem {
 public:
  explicit ScriptedWindows(ScriptedUi& ui) : ui_(ui) {}
  designer::UiPort& Ui() override { return ui_; }
  void RunDesigner(designer::DesignerForm& form) override;
  void RunActionEditor(designer::ActionEditor& editor) override;

  std::function<void(designer::DesignerForm&)> designer_session;
  std::function<void(designer::ActionEditor&)> editor_session;
  int designer_runs = 0;
  int editor_runs = 0;

 private:
  ScriptedUi& ui_;
};

}  // namespace qb::test
