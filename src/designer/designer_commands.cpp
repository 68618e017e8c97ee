// The design check and the bottom-bar commands that rest on it: Validate, Save && Close and
// Generate Web App...
#include <chrono>
#include <exception>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "check/project_validator.hpp"
#include "core/json_write.hpp"
#include "core/paths.hpp"
#include "core/text_file.hpp"
#include "core/utf8.hpp"
#include "designer/designer_form.hpp"
#include "designer/designer_texts.hpp"
#include "generator/crud_generator.hpp"
#include "generator/generate_application.hpp"

namespace qb::designer {
namespace {

// "hhnnsszzz": local hours, minutes, seconds and milliseconds.
std::string TimeStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02d%03d", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(millis));
  return text;
}

// A folder of the check's own inside the temporary folder, removed with its content.
class CheckFolder {
 public:
  explicit CheckFolder(std::string_view temp_folder, std::string_view name) {
    const std::filesystem::path base = PathFromUtf8(temp_folder);
    for (int attempt = 0;; ++attempt) {
      path_ = base / PathFromUtf8(std::string(name) + (attempt == 0 ? "" : "-" + std::to_string(attempt)));
      std::error_code ec;
      if (std::filesystem::create_directory(path_, ec)) return;
      if (ec || attempt == 1000)
        throw std::runtime_error("Cannot create a temporary folder in " + std::string(temp_folder) +
                                 (ec ? ": " + ec.message() : ""));
    }
  }
  ~CheckFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  CheckFolder(const CheckFolder&) = delete;
  CheckFolder& operator=(const CheckFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

bool DesignerForm::FileHoldsDocument() const {
  try {
    return ReadTextFile(file_name_) == json::Write(project_.BuildRoot());
  } catch (const std::exception&) {
    return false;
  }
}

bool DesignerForm::CheckDesign(std::string& problems) {
  problems.clear();
  StorePagesGrid();
  const std::string name = "kettlebourne-check-" + TimeStamp();
  const CheckFolder folder(ui_.TempFolder(), name);
  const std::string file = PathToUtf8(folder.path() / PathFromUtf8(name + ".json"));
  WriteTextFile(file, json::Write(project_.BuildRoot()));
  const ValidationOutcome outcome = ValidateProjectFile(file);
  problems = Trim(outcome.message);
  return outcome.ok;
}

void DesignerForm::ValidateClick() {
  std::string problems;
  if (CheckDesign(problems)) {
    ui_.ShowMessage(MessageKind::Information, MessageButtons::Ok,
                    "The design is valid and ready to generate.\r\n\r\n" +
                        std::to_string(project_.entities.size()) + " table(s), " +
                        std::to_string(project_.pages.size()) + " page(s), database: " + project_.db_engine + ".");
  } else {
    ui_.ShowMessage(MessageKind::Warning, MessageButtons::Ok, "Please fix the following:\r\n\r\n" + problems);
  }
}

void DesignerForm::SaveAndCloseClick() {
  std::string problems;
  if (!CheckDesign(problems) &&
      ui_.ShowMessage(MessageKind::Warning, MessageButtons::YesNo,
                      "The design still has problems:\r\n\r\n" + problems + "\r\n\r\nSave and close anyway?") !=
          MessageAnswer::Yes)
    return;
  std::error_code ec;
  const bool saved_file_exists =
      !file_name_.empty() && std::filesystem::is_regular_file(PathFromUtf8(file_name_), ec);
  if ((!modified_ && saved_file_exists) || SaveProject(false)) RequestClose(ModalResult::Ok);
}

void DesignerForm::GenerateClick() {
  std::string problems;
  if (!CheckDesign(problems)) {
    ui_.ShowMessage(MessageKind::Warning, MessageButtons::Ok,
                    "The design has problems; nothing was generated:\r\n\r\n" + problems);
    return;
  }
  // The generators read the file, so it must hold exactly the document. The design check refuses
  // an empty output folder, so a folder is always set here.
  if ((file_name_.empty() || modified_ || !FileHoldsDocument()) && !SaveProject(false)) return;
  const std::string folder = ResolveOutputFolder();
  if (ui_.ShowMessage(MessageKind::Confirmation, MessageButtons::OkCancel,
                      "Generate the web application into:\r\n" + folder +
                          "\r\n\r\nGenerated files in that folder are overwritten; your data and .env edits are kept.") !=
      MessageAnswer::Ok)
    return;
  gen::GenerationOutcome outcome{false, ""};
  {
    const BusyCursor busy(ui_);
    outcome = project_.entities.empty()
                  ? gen::GenerateApplication(file_name_, folder)
                  : gen::GenerateCRUDApplication(file_name_, folder, "studio", "dashboard", "#2563eb");
  }
  if (!outcome.ok) {
    ui_.ShowMessage(MessageKind::Error, MessageButtons::Ok, "Generation failed:\r\n\r\n" + outcome.message);
    return;
  }
  if (ui_.ShowMessage(MessageKind::Information, MessageButtons::YesNo,
                      "Web application generated.\r\n\r\n" + outcome.message + "\r\n\r\nOpen the output folder now?") ==
      MessageAnswer::Yes)
    ui_.OpenInFileManager(folder);
}

}  // namespace qb::designer
