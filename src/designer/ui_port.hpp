// What the designer windows ask of the platform: message boxes, file and folder dialogs, the
// colour dialog, the busy cursor, the file manager, the temporary folder and the host's dialogs.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace qb::designer {

enum class MessageKind { Warning, Error, Information, Confirmation };
// YesNoDefaultNo: Yes and No with No as the default button, for questions that discard work.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, OkCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Title of a message box of that kind.
std::string_view MessageTitle(MessageKind kind);

struct FileDialog {
  std::string title;
  std::string filter;             // "Description|pattern|Description|pattern"
  std::string default_extension;  // without the dot; empty for none
  std::string initial_file;
  bool prompt_overwrite = false;
  bool path_must_exist = false;
};

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

struct HostAnswer {
  bool ok = false;
  std::string text;
};

class UiPort {
 public:
  virtual ~UiPort() = default;

  virtual MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons, std::string_view text) = 0;
  // The chosen file, or nothing when the user cancelled.
  virtual std::optional<std::string> OpenFile(const FileDialog& dialog) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialog& dialog) = 0;
  virtual std::optional<std::string> PickFolder(std::string_view caption, std::string_view start_folder) = 0;
  // start is the colour the dialog opens on, or nothing for its own default.
  virtual std::optional<Rgb> ChooseColour(std::optional<Rgb> start) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void OpenInFileManager(std::string_view folder) = 0;
  virtual std::string TempFolder() = 0;

  // The host's SDK dialogs by number. HasHostInterfaces is false when the host registered no
  // interface access; CallHostInterface hands request to the host in a slot of its own and
  // returns the host's Boolean and the slot's text afterwards (false without interface access).
  virtual bool HasHostInterfaces() = 0;
  virtual HostAnswer CallHostInterface(int number, std::string_view request) = 0;
};

// Runs handler; an error it raises is shown in an error box instead of escaping.
template <typename Handler>
void ShowingErrors(UiPort& ui, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ui.ShowMessage(MessageKind::Error, MessageButtons::Ok, e.what());
  }
}

// Keeps the busy cursor for the lifetime of the object, also when an error escapes.
class BusyCursor {
 public:
  explicit BusyCursor(UiPort& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
  ~BusyCursor() { ui_.SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UiPort& ui_;
};

}  // namespace qb::designer
