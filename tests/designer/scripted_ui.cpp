// The user-interface double.
#include "scripted_ui.hpp"

#include <gtest/gtest.h>

#include "designer/action_editor.hpp"

namespace qb::test {

using designer::MessageAnswer;
using designer::MessageButtons;

ScriptedUi& ScriptedUi::Answer(MessageAnswer answer) {
  script_.emplace_back(answer);
  return *this;
}

ScriptedUi& ScriptedUi::Choose(std::optional<std::string> file_or_folder) {
  script_.emplace_back(std::move(file_or_folder));
  return *this;
}

ScriptedUi& ScriptedUi::ChooseColourAnswer(std::optional<designer::Rgb> colour) {
  script_.emplace_back(colour);
  return *this;
}

ScriptedUi& ScriptedUi::Host(int number, designer::HostAnswer answer) {
  host_answers_[number] = std::move(answer);
  return *this;
}

ScriptedUi& ScriptedUi::WithoutHostInterfaces() {
  host_interfaces_ = false;
  return *this;
}

template <typename T>
std::optional<T> ScriptedUi::Next(const char* what) {
  if (script_.empty() || !std::holds_alternative<T>(script_.front())) {
    ADD_FAILURE() << "unscripted " << what;
    return std::nullopt;
  }
  T value = std::get<T>(std::move(script_.front()));
  script_.pop_front();
  return value;
}

MessageAnswer ScriptedUi::ShowMessage(designer::MessageKind kind, MessageButtons buttons, std::string_view text) {
  messages.push_back({kind, buttons, std::string(text)});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  const std::optional<MessageAnswer> answer = Next<MessageAnswer>("question");
  return answer.value_or(buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo ? MessageAnswer::No : MessageAnswer::Cancel);
}

std::optional<std::string> ScriptedUi::OpenFile(const designer::FileDialog& dialog) {
  dialogs.push_back({"open", dialog, "", ""});
  return Next<std::optional<std::string>>("open dialog").value_or(std::nullopt);
}

std::optional<std::string> ScriptedUi::SaveFile(const designer::FileDialog& dialog) {
  dialogs.push_back({"save", dialog, "", ""});
  return Next<std::optional<std::string>>("save dialog").value_or(std::nullopt);
}

std::optional<std::string> ScriptedUi::PickFolder(std::string_view caption, std::string_view start_folder) {
  dialogs.push_back({"folder", {}, std::string(caption), std::string(start_folder)});
  return Next<std::optional<std::string>>("folder picker").value_or(std::nullopt);
}

std::optional<designer::Rgb> ScriptedUi::ChooseColour(std::optional<designer::Rgb> start) {
  dialogs.push_back({"colour", {}, "", start ? designer::ColourText(*start) : ""});
  return Next<std::optional<designer::Rgb>>("colour dialog").value_or(std::nullopt);
}

void ScriptedUi::SetBusyCursor(bool busy) {
  busy_depth += busy ? 1 : -1;
  if (busy) ++busy_calls;
}

designer::HostAnswer ScriptedUi::CallHostInterface(int number, std::string_view request) {
  host_requests.emplace_back(number, std::string(request));
  if (!host_interfaces_) return {};
  const auto it = host_answers_.find(number);
  return it == host_answers_.end() ? designer::HostAnswer{} : it->second;
}

void ScriptedWindows::RunDesigner(designer::DesignerForm& form) {
  ++designer_runs;
  if (designer_session) designer_session(form);
}

void ScriptedWindows::RunActionEditor(designer::ActionEditor& editor) {
  ++editor_runs;
  if (editor_session) editor_session(editor);
}

}  // namespace qb::test
