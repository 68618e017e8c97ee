// A small Windows host of its own: loads the real plug-in with LoadLibrary, registers its own
// __stdcall callbacks and talks to the plug-in only through its exports, with host texts in the
// ANSI code page and text blocks in global memory.
// Usage: plugin_host_test PLUGIN EXAMPLES_FOLDER
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The host's side of the ABI, declared here independently of the plug-in's headers.
using RegisterActionFn = void(__stdcall*)(int, char*, char*, unsigned char*, int, unsigned char);
using SetVariableFn = void(__stdcall*)(char*, char*);
using InitFn = void(__stdcall*)(HWND, char**, char**, char**);
using RegisterFn = void(__stdcall*)(RegisterActionFn, void*, void*, SetVariableFn);
using ScriptProcessorFn = void(__stdcall*)(void*);
using MessageFn = void(__stdcall*)(int, int);
using ExecFn = int(__stdcall*)(int, char**, int);

constexpr const char* kExports[] = {"nbInitPlugIn",     "nbRegisterPlugIn", "nbRegisterScriptProcessor",
                                    "nbRegisterInterfaceAccess", "nbMessage", "nbExecAction",
                                    "nbEditAction"};
constexpr const char* kVersion = "Quillbarrow Generator 0.9.0 | Stage 9 Design-Time Database Designer";

struct Registered {
  int id;
  std::string name;
  std::string description;
  std::vector<int> codes;
  int count;
};

struct Write {
  std::string name;
  std::string value;
};

std::vector<Registered> g_registered;
std::vector<Write> g_writes;

void __stdcall OnRegister(int id, char* name, char* description, unsigned char* codes, int last, unsigned char count) {
  Registered r{id, name, description, {}, count};
  for (int i = 0; i <= last; ++i) r.codes.push_back(codes[i]);
  g_registered.push_back(r);
}

void __stdcall OnSetVariable(char* name, char* value) { g_writes.push_back({name, value}); }

int g_passed = 0;
int g_failed = 0;

void Expect(bool ok, const std::string& what) {
  if (ok) {
    ++g_passed;
  } else {
    ++g_failed;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

void ExpectEq(const std::string& actual, const std::string& expected, const std::string& what) {
  Expect(actual == expected, what + "\n  expected: " + expected + "\n  actual:   " + actual);
}

std::string Ansi(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The example project with another project name (UTF-8, as project files are).
std::string RenamedProject(const std::string& project, const std::string& utf8_name) {
  const std::string from = "\"name\": \"Corner Bookshop\"";
  std::string text = project;
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), "\"name\": \"" + utf8_name + "\"");
  return text;
}

class Host {
 public:
  explicit Host(const char* path) : module_(LoadLibraryA(path)) {}
  ~Host() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  bool Loaded() const { return module_ != nullptr; }

  template <typename Fn>
  Fn Export(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  // Calls nbExecAction with these slots; returns the whole 32-bit result and the writes it made.
  int Exec(int id, std::vector<std::string> params) const {
    std::vector<char*> slots;
    for (std::string& p : params) slots.push_back(p.data());
    g_writes.clear();
    return Export<ExecFn>("nbExecAction")(id, slots.data(), static_cast<int>(slots.size()) - 1);
  }

 private:
  HMODULE module_;
};

void TestExports(const Host& host) {
  for (const char* name : kExports) Expect(host.Export<void*>(name) != nullptr, std::string("export ") + name);
}

bool Committed(const void* address) {
  MEMORY_BASIC_INFORMATION info{};
  return VirtualQuery(address, &info, sizeof info) != 0 && info.State == MEM_COMMIT;
}

void TestInitHandsOverGlobalBlocks(const Host& host) {
  // A block already in a slot is released with GlobalFree: one this large has pages of its own,
  // which are no longer committed once it is freed.
  constexpr std::size_t kOld = 64 << 20;
  char* slots[3] = {nullptr, nullptr, nullptr};
  char* const old = static_cast<char*>(GlobalAlloc(GMEM_FIXED, kOld));
  std::memset(old, 'x', kOld);
  slots[1] = old;
  host.Export<InitFn>("nbInitPlugIn")(nullptr, &slots[0], &slots[1], &slots[2]);
  Expect(!Committed(old), "nbInitPlugIn releases the block already in a slot");
  const char* expected[3] = {"kdQuillbarrow", "Quillbarrow team",
                             "Design databases visually and generate PHP CRUD web applications."};
  for (int i = 0; i < 3; ++i) {
    if (slots[i] == nullptr) {
      Expect(false, "nbInitPlugIn fills slot " + std::to_string(i));
      continue;
    }
    ExpectEq(slots[i], expected[i], "nbInitPlugIn slot " + std::to_string(i));
    Expect(GlobalSize(slots[i]) == std::strlen(expected[i]) + 1,
           "slot " + std::to_string(i) + " is a global block of length + 1 bytes");
    Expect(GlobalFree(slots[i]) == nullptr, "slot " + std::to_string(i) + " is released with GlobalFree");
  }
}

void TestRegistrations(const Host& host) {
  g_registered.clear();
  host.Export<RegisterFn>("nbRegisterPlugIn")(&OnRegister, nullptr, nullptr, &OnSetVariable);
  struct Expected { int id; const char* name; std::vector<int> codes; };
  const Expected expected[] = {
      {0, "General", {0}},
      {1, "kdKTBGetVersion", {6}},
      {0, "Project Properties", {0}},
      {2, "kdKTBCheckProjectFile", {5, 6}},
      {3, "kdKTBValidateProject", {5, 6}},
      {4, "kdKTBGetProjectSummary", {5, 6}},
      {0, "Plan Generation", {0}},
      {5, "kdKTBCreateGenerationPlan", {5, 10, 6}},
      {0, "Design Database", {0}},
      {8, "kdKTBDesignDatabase", {5, 6}},
      {0, "Generate Application", {0}},
      {6, "kdKTBGenerateApplication", {5, 2, 6}},
      {7, "kdKTBGenerateCRUDApplication", {5, 2, 1, 1, 1, 6}},
  };
  Expect(g_registered.size() == std::size(expected),
         "13 registrations, got " + std::to_string(g_registered.size()));
  for (std::size_t i = 0; i < std::size(expected) && i < g_registered.size(); ++i) {
    const Registered& r = g_registered[i];
    const Expected& e = expected[i];
    const std::string at = "registration " + std::to_string(i) + " (" + e.name + ")";
    Expect(r.id == e.id, at + ": ID");
    ExpectEq(r.name, e.name, at + ": name");
    Expect(r.codes == e.codes, at + ": type codes");
    Expect(r.count == (e.id == 0 ? 0 : static_cast<int>(e.codes.size())), at + ": parameter count");
    Expect(r.description.empty() == (e.id == 0), at + ": description only for actions");
  }
}

struct ExecCase {
  int id;
  std::vector<std::string> params;
  int result;
  std::string variable;
  std::string value_start;  // the whole value when exact is set
  bool exact;
};

// Every call returns exactly 0 or 1 in the whole register and writes exactly one variable.
void RunExecCases(const Host& host, const std::vector<ExecCase>& cases) {
  for (const ExecCase& c : cases) {
    const std::string at = "action " + std::to_string(c.id) + " (" + c.params.front() + ")";
    const int result = host.Exec(c.id, c.params);
    Expect(result == c.result, at + ": returns " + std::to_string(c.result) + ", got " + std::to_string(result));
    Expect(g_writes.size() == 1, at + ": one variable write, got " + std::to_string(g_writes.size()));
    if (g_writes.empty()) continue;
    ExpectEq(g_writes[0].name, c.variable, at + ": variable");
    if (c.exact) ExpectEq(g_writes[0].value, c.value_start, at + ": value");
    else Expect(g_writes[0].value.starts_with(c.value_start), at + ": value starts with " + c.value_start +
                                                                   "\n  actual: " + g_writes[0].value);
  }
}

void TestActions(const Host& host, const std::string& examples, const fs::path& work) {
  const std::string bookshop = examples + "\\bookshop.json";
  const std::string out = Ansi(work.wstring());
  RunExecCases(host, {
      {1, {"[KTBVersion]"}, 1, "[KTBVersion]", kVersion, true},
      {2, {"", "[C]"}, 0, "[C]", "ERROR|Project file path is empty", true},
      {2, {bookshop, "[C]"}, 1, "[C]", "OK|Project file exists: ", false},
      {3, {bookshop, "[V]"}, 1, "[V]", "OK|Project JSON is valid. Project=Corner Bookshop; ", false},
      {4, {bookshop, "[S]"}, 1, "[S]", "OK|Project=Corner Bookshop; ID=bookshop; ", false},
      {4, {out + "\\missing.json", "[S]"}, 0, "[S]", "ERROR|Project file does not exist: ", false},
      {5, {bookshop, out + "\\plan.json", "[P]"}, 1, "[P]", "OK|Project=Corner Bookshop; plannedFiles=", false},
      {6, {bookshop, out + "\\app", "[G]"}, 1, "[G]", "OK|Generated Corner Bookshop at " + out + "\\app;", false},
      {7, {bookshop, out + "\\crud", "editorial", "wide", "#0F766E", "[R]"}, 1, "[R]",
       "OK|Generated Corner Bookshop at " + out + "\\crud;", false},
      {9, {"[R]"}, 0, "[LastError]", "Quillbarrow: unknown action ID.", true},
      {-1, {"[R]"}, 0, "[LastError]", "Quillbarrow: unknown action ID.", true},
  });
  Expect(fs::exists(work / "plan.json"), "action 5 wrote the plan");
  Expect(fs::exists(work / "app" / "public" / "index.php"), "action 6 wrote the application");
  Expect(ReadBytes(work / "crud" / "app" / "Views" / "layouts" / "main.php")
                 .find("<body class=\"ktb-theme-editorial ktb-layout-wide\">") != std::string::npos,
         "action 7 used the preset and layout slots");

  Expect(host.Exec(1, {""}) == 1 && g_writes.empty(), "an empty result variable writes nothing");
  host.Export<MessageFn>("nbMessage")(123, -4);
  host.Export<ScriptProcessorFn>("nbRegisterScriptProcessor")(reinterpret_cast<void*>(0x1234));
  Expect(host.Exec(1, {"[V]"}) == 1 && g_writes.size() == 1, "nbMessage and nbRegisterScriptProcessor change nothing");
}

// Texts in the ANSI code page (1252 here) in both directions: paths, variable names, values.
void TestAnsiRoundTrip(const Host& host, const std::string& examples, const fs::path& work) {
  Expect(GetACP() == 1252, "the ANSI code page is 1252, got " + std::to_string(GetACP()));
  const std::string project = ReadBytes(examples + "\\bookshop.json");
  const fs::path folder = work / L"Caf\u00e9";
  WriteBytes(folder / L"projet \u00e9.json", RenamedProject(project, "Caf\xC3\xA9 Cr\xC3\xA8me"));
  WriteBytes(folder / L"hors page.json", RenamedProject(project, "Caf\xC3\xA9 \xD0\xB6 \xE4\xB8\xAD \xE2\x88\x9E \xE2\x88\x95"));
  const std::string dir = Ansi(folder.wstring());
  ExpectEq(dir.substr(dir.size() - 4), "Caf\xE9", "the folder name in the ANSI code page");

  RunExecCases(host, {
      {2, {dir + "\\projet \xE9.json", "[R\xE9sultat]"}, 1, "[R\xE9sultat]",
       "OK|Project file exists: " + dir + "\\projet \xE9.json", true},
      {4, {dir + "\\projet \xE9.json", "[S]"}, 1, "[S]", "OK|Project=Caf\xE9 Cr\xE8me; ID=bookshop;", false},
      {6, {dir + "\\projet \xE9.json", dir + "\\sortie \xE9", "[G]"}, 1, "[G]",
       "OK|Generated Caf\xE9 Cr\xE8me at " + dir + "\\sortie \xE9;", false},
      // Characters the code page lacks become "?", never a look-alike ("8" for "\u221E", "/" for "\u2215").
      {4, {dir + "\\hors page.json", "[S]"}, 1, "[S]", "OK|Project=Caf\xE9 ? ? ? ?; ID=bookshop;", false},
      // "?" cannot be in a Windows file name: a plain error, no crash.
      {2, {dir + "\\projet ?.json", "[C]"}, 0, "[C]", "ERROR|", false},
  });
  const fs::path generated = folder / L"sortie \u00e9";
  Expect(fs::exists(generated / "public" / "index.php"), "action 6 wrote into the folder named in the ANSI slot");
  Expect(ReadBytes(generated / "README.md").find("Caf\xC3\xA9 Cr\xC3\xA8me") != std::string::npos,
         "the generated files hold the project name in UTF-8");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: plugin_host_test PLUGIN EXAMPLES_FOLDER\n");
    return 2;
  }
  Host host(argv[1]);
  if (!host.Loaded()) {
    std::printf("FAIL: LoadLibrary %s: error %lu\n", argv[1], GetLastError());
    return 1;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const fs::path work = fs::path(temp) / ("qb-host-test-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(work);

  TestExports(host);
  TestInitHandsOverGlobalBlocks(host);
  TestRegistrations(host);
  TestActions(host, argv[2], work);
  TestAnsiRoundTrip(host, argv[2], work);

  std::error_code ignored;
  fs::remove_all(work, ignored);
  std::printf("plugin host: %d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
