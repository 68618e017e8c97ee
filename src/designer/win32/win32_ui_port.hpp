// The user-interface port on Win32: message boxes, common dialogs, the shell and the host.
#pragma once

#include <windows.h>

#include "designer/window_system.hpp"

namespace qb::designer::win32 {

class Win32UiPort : public UiPort {
 public:
  explicit Win32UiPort(HostInterfaces host) : host_(std::move(host)) {}
  // Dialogs are owned by the window in front, once there is one.
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND Owner() const { return owner_; }

  MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons, std::string_view text) override;
  std::optional<std::string> OpenFile(const FileDialog& dialog) override;
  std::optional<std::string> SaveFile(const FileDialog& dialog) override;
  std::optional<std::string> PickFolder(std::string_view caption, std::string_view start_folder) override;
  std::optional<Rgb> ChooseColour(std::optional<Rgb> start) override;
  void SetBusyCursor(bool busy) override;
  void OpenInFileManager(std::string_view folder) override;
  std::string TempFolder() override;
  bool HasHostInterfaces() override { return host_.available && host_.available(); }
  HostAnswer CallHostInterface(int number, std::string_view request) override {
    return host_.call ? host_.call(number, request) : HostAnswer{};
  }

 private:
  std::optional<std::string> FileDialogResult(const FileDialog& dialog, bool save);

  HostInterfaces host_;
  HWND owner_ = nullptr;
  HCURSOR previous_cursor_ = nullptr;
};

}  // namespace qb::designer::win32
