// The real Win32 designer of the plug-in, timed: the design action opens it on the project in
// this thread while a second thread plays the benchmark's events as window messages. Each event
// is timed until its messages return and the repaint they caused is done; "open" runs from the
// action call until the window is shown and painted. Prints each event's median and maximum
// beside its goal, and the median part spent painting.
// Usage: designer_gui_bench PLUGIN PROJECT   (the project file is saved over by the "save" events)
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "designer/designer_controls.hpp"
#include "designer/win32/control_ids.hpp"
#include "designer_events.hpp"
#include "windows/host_windows.hpp"

namespace {

using qb::bench::Event;
using qb::designer::Ctl;
using qb::test::Descendant;
using qb::test::Descendants;
using qb::test::Slots;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kOpens = 5;
constexpr UINT kAnswerWithin = 120000;  // ms; a message box left open stops the run instead

using ExecFn = int(__stdcall*)(int, char**, int);
using RegisterFn = void(__stdcall*)(void*, void*, void*, void*);

DWORD g_main_thread = 0;
std::atomic<Clock::rep> g_open_start{0};
std::vector<std::pair<std::string, std::string>> g_writes;
qb::bench::Samples g_samples;
int g_failures = 0;

void Fail(const std::string& what) {
  ++g_failures;
  std::printf("FAILED: %s\n", what.c_str());
}

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

template <typename Fn>
Fn Export(HMODULE plugin, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(plugin, name)));
}

void __stdcall OnSetVariable(char* name, char* value) { g_writes.emplace_back(name, value); }

std::string Narrow(const std::wstring& wide) {
  std::string out(wide.size() * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return out;
}

std::wstring Wide(const std::string& text) {
  std::wstring out(text.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                    static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return out;
}

std::string WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return Narrow(buffer);
}

// The top-level windows of the designer's thread.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> all;
  EnumThreadWindows(g_main_thread, qb::test::CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

// The texts of the message boxes open in the designer's thread, if any.
std::string OpenDialogs() {
  std::string texts;
  for (HWND window : ThreadWindows()) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(window)) continue;
    texts += "[" + WindowText(window) + "]";
    for (HWND child : Descendants(window)) texts += " " + WindowText(child);
  }
  return texts;
}

// Sends a message to the designer's thread; a message box that blocks the answer ends the run.
LRESULT Send(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window, message, w, l, SMTO_NORMAL, kAnswerWithin, &result) == 0) {
    Fail("no answer to message " + std::to_string(message) + "; open: " + OpenDialogs());
    std::fflush(stdout);
    ExitProcess(1);
  }
  return static_cast<LRESULT>(result);
}

int IdOf(Ctl id) { return qb::designer::win32::kDesignerControlBase + static_cast<int>(id); }

// A control of the designer, found among all descendants of its window.
HWND Control(HWND top, Ctl id) {
  HWND control = Descendant(top, IdOf(id));
  if (control == nullptr) {
    Fail("no control " + std::to_string(IdOf(id)) + " in the designer");
    ExitProcess(1);
  }
  return control;
}

// The shown designer: the visible top window of the designer's thread that holds the table list.
HWND FindDesigner() {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && Descendant(window, IdOf(Ctl::lbTables)) != nullptr) return window;
  return nullptr;
}

// The pending repaint of the window and all its children, done now.
void Repaint(HWND top) { RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// Times the messages of one event and the repaint they cause.
void Timed(HWND top, const qb::bench::Step& step, const std::function<void()>& messages) {
  const Clock::time_point start = Clock::now();
  messages();
  const Clock::time_point handled = Clock::now();
  Repaint(top);
  const Clock::time_point painted = Clock::now();
  g_samples[static_cast<std::size_t>(step.event)].push_back(
      {MillisecondsBetween(start, painted), MillisecondsBetween(handled, painted), step.argument});
}

void Play(HWND top, const qb::bench::Step& step) {
  auto type = [&](Ctl id) {
    HWND edit = Control(top, id);
    const LRESULT end = Send(edit, WM_GETTEXTLENGTH, 0, 0);
    Send(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    const wchar_t typed[2] = {static_cast<wchar_t>(step.argument), 0};
    Timed(top, step, [&] { Send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed)); });
  };
  auto click = [&](Ctl id) {
    HWND button = Control(top, id);
    Timed(top, step, [&] { Send(button, BM_CLICK, 0, 0); });
  };
  switch (step.event) {
    case Event::SelectTable: {
      HWND list = Control(top, Ctl::lbTables);
      Timed(top, step, [&] {
        Send(list, LB_SETCURSEL, static_cast<WPARAM>(step.argument), 0);
        Send(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
             reinterpret_cast<LPARAM>(list));
      });
      break;
    }
    case Event::TypeTableName: type(Ctl::edTableName); break;
    case Event::TypeTableId: type(Ctl::edTableId); break;
    case Event::TypeFieldLabel: type(Ctl::edFieldLabel); break;
    case Event::AddTable: click(Ctl::btnAddTable); break;
    case Event::AddField: click(Ctl::btnAddField); break;
    case Event::Save: click(Ctl::btnSave); break;
    case Event::SwitchTab: {
      HWND tabs = Control(top, Ctl::Tabs);
      Timed(top, step, [&] {
        Send(tabs, TCM_SETCURSEL, static_cast<WPARAM>(step.argument), 0);
        NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
        Send(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
      });
      break;
    }
    case Event::RepaintAll:
      Timed(top, step, [&] { RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN); });
      break;
    case Event::Open: break;
  }
  const std::string dialogs = OpenDialogs();
  if (!dialogs.empty()) Fail("a message box is open: " + dialogs);
}

std::string ListText(HWND list, int index) {
  const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return "";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  Send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return Narrow(text);
}

// One session in the designer: waits until it is shown and painted; when no more opens are
// needed, runs the script and checks that it did what it says. Cancel closes the window.
void Session(bool& played) {
  HWND top = nullptr;
  for (int i = 0; i < 120000 && top == nullptr; ++i) {
    top = FindDesigner();
    if (top == nullptr) {
      if (!OpenDialogs().empty()) break;
      Sleep(1);
    }
  }
  if (top == nullptr) {
    Fail("the designer did not open; open: " + OpenDialogs());
    ExitProcess(1);
  }
  Repaint(top);
  const Clock::time_point painted = Clock::now();
  const Clock::time_point start{Clock::duration{g_open_start.load()}};
  auto& opens = g_samples[static_cast<std::size_t>(Event::Open)];
  opens.push_back({MillisecondsBetween(start, painted)});

  played = opens.size() >= kOpens || qb::bench::Skip(g_samples, {Event::Open});
  if (played) {
    HWND list = Control(top, Ctl::lbTables);
    const int tables = static_cast<int>(Send(list, LB_GETCOUNT, 0, 0));
    for (const qb::bench::Step& step : qb::bench::Script(tables)) {
      if (qb::bench::Skip(g_samples, step)) continue;
      Play(top, step);
      Sleep(10);
    }
    const std::size_t added = g_samples[static_cast<std::size_t>(Event::AddTable)].size();
    if (Send(list, LB_GETCOUNT, 0, 0) != tables + static_cast<LRESULT>(added))
      Fail("add table did not add a table each time");
    if (ListText(list, tables / 3).find("abc") == std::string::npos)
      Fail("typing did not reach the table id: " + ListText(list, tables / 3));
    if (WindowText(top).ends_with("*")) Fail("the project is not saved: " + WindowText(top));
    std::printf("  %d tables at the start\n", tables);
  }
  Send(Control(top, Ctl::btnCancel), BM_CLICK, 0, 0);
}

DWORD WINAPI RunSession(void* session) {
  (*static_cast<const std::function<void()>*>(session))();
  return 0;
}

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc != 3) {
    std::printf("usage: designer_gui_bench PLUGIN PROJECT\n");
    return 2;
  }
  HMODULE plugin = LoadLibraryW(argv[1]);
  if (plugin == nullptr) {
    std::printf("FAILED: cannot load %ls\n", argv[1]);
    return 1;
  }
  auto exec = Export<ExecFn>(plugin, "nbExecAction");
  Export<RegisterFn>(plugin, "nbRegisterPlugIn")(nullptr, nullptr, nullptr, reinterpret_cast<void*>(&OnSetVariable));
  g_main_thread = GetCurrentThreadId();
  const std::string project = Narrow(argv[2]);

  for (bool played = false; !played;) {
    std::function<void()> session = [&played] { Session(played); };
    std::vector<char*> slots = Slots({project, "[R]"});
    g_writes.clear();
    HANDLE driver = CreateThread(nullptr, 0, RunSession, &session, 0, nullptr);
    g_open_start = Clock::now().time_since_epoch().count();
    exec(8, slots.data(), 1);
    WaitForSingleObject(driver, INFINITE);
    CloseHandle(driver);
    if (g_writes.size() != 1 || g_writes[0].second != "CANCEL|" + project)
      Fail("the design action did not answer CANCEL|" + project + " after Cancel");
  }
  if (ReadFileText(Wide(project)).find("abc") == std::string::npos)
    Fail("the saved project lacks the typed table id");
  qb::bench::Report(g_samples);
  return g_failures == 0 ? 0 : 1;
}
