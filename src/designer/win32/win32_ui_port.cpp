// The user-interface port on Win32.
#include "designer/win32/win32_ui_port.hpp"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "designer/win32/wide_text.hpp"

namespace qb::designer::win32 {
namespace {

UINT IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning: return MB_ICONWARNING;
    case MessageKind::Error: return MB_ICONERROR;
    case MessageKind::Information: return MB_ICONINFORMATION;
    case MessageKind::Confirmation: return MB_ICONQUESTION;
  }
  return 0;
}

UINT ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return MB_OK;
    case MessageButtons::YesNo: return MB_YESNO;
    case MessageButtons::YesNoDefaultNo: return MB_YESNO | MB_DEFBUTTON2;
    case MessageButtons::OkCancel: return MB_OKCANCEL;
  }
  return MB_OK;
}

// "Description|pattern|..." as the dialog wants it: pairs separated and ended by NULs.
std::wstring FilterText(std::string_view filter) {
  std::wstring out = Wide(filter);
  for (wchar_t& c : out)
    if (c == L'|') c = L'\0';
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

int CALLBACK StartFolderCallback(HWND window, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start != 0) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

MessageAnswer Win32UiPort::ShowMessage(MessageKind kind, MessageButtons buttons, std::string_view text) {
  const int answer = MessageBoxW(owner_, Wide(text).c_str(), Wide(MessageTitle(kind)).c_str(),
                                 IconOf(kind) | ButtonsOf(buttons) | MB_TASKMODAL);
  switch (answer) {
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    case IDCANCEL: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
  }
}

std::optional<std::string> Win32UiPort::FileDialogResult(const FileDialog& dialog, bool save) {
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring initial = Wide(dialog.initial_file);
  initial.copy(file.data(), std::min(initial.size(), file.size() - 1));
  const std::wstring filter = FilterText(dialog.filter);
  const std::wstring title = Wide(dialog.title);
  const std::wstring extension = Wide(dialog.default_extension);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (dialog.prompt_overwrite) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (dialog.path_must_exist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (!save) ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  return Utf8(file.data());
}

std::optional<std::string> Win32UiPort::OpenFile(const FileDialog& dialog) { return FileDialogResult(dialog, false); }
std::optional<std::string> Win32UiPort::SaveFile(const FileDialog& dialog) { return FileDialogResult(dialog, true); }

std::optional<std::string> Win32UiPort::PickFolder(std::string_view caption, std::string_view start_folder) {
  const std::wstring title = Wide(caption);
  const std::wstring start = Wide(start_folder);
  BROWSEINFOW info{};
  info.hwndOwner = owner_;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = StartFolderCallback;
  info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  std::optional<std::string> folder;
  if (chosen != nullptr) {
    wchar_t path[MAX_PATH * 4] = {};
    if (SHGetPathFromIDListW(chosen, path)) folder = Utf8(path);
    CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return folder;
}

std::optional<Rgb> Win32UiPort::ChooseColour(std::optional<Rgb> start) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner_;
  choose.lpCustColors = custom;
  choose.Flags = CC_FULLOPEN;
  if (start) {
    choose.rgbResult = RGB(start->red, start->green, start->blue);
    choose.Flags |= CC_RGBINIT;
  }
  if (!ChooseColorW(&choose)) return std::nullopt;
  return Rgb{GetRValue(choose.rgbResult), GetGValue(choose.rgbResult), GetBValue(choose.rgbResult)};
}

void Win32UiPort::SetBusyCursor(bool busy) {
  if (busy) previous_cursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  else SetCursor(previous_cursor_ ? previous_cursor_ : LoadCursorW(nullptr, IDC_ARROW));
}

void Win32UiPort::OpenInFileManager(std::string_view folder) {
  ShellExecuteW(owner_, L"open", Wide(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string Win32UiPort::TempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  return length == 0 ? std::string(".") : Utf8(std::wstring_view(path, length));
}

}  // namespace qb::designer::win32
