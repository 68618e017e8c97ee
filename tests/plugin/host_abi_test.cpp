// Plays the host: loads the built plug-in with dlopen and talks to it only through its exports.
#include <dlfcn.h>
#include <malloc.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/host_abi.hpp"

namespace {

struct Registered {
  int id;
  std::string name, description;
  std::vector<int> codes;
  int count;
  bool operator==(const Registered&) const = default;
};

std::vector<Registered> g_registered;
std::vector<std::pair<std::string, std::string>> g_writes;

void QB_STDCALL OnRegister(int id, char* name, char* description, unsigned char* codes, int last, unsigned char count) {
  Registered r{id, name, description, {}, count};
  for (int i = 0; i <= last; ++i) r.codes.push_back(codes[i]);
  g_registered.push_back(r);
}

void QB_STDCALL OnSetVariable(char* name, char* value) { g_writes.emplace_back(name, value); }

class HostAbiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    handle_ = dlopen(QB_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  static void TearDownTestSuite() { dlclose(handle_); }

  template <typename Fn>
  static Fn Export(const char* name) {
    void* symbol = dlsym(handle_, name);
    EXPECT_NE(symbol, nullptr) << name;
    return reinterpret_cast<Fn>(symbol);
  }

  void SetUp() override {
    g_registered.clear();
    g_writes.clear();
    Export<decltype(&nbRegisterPlugIn)>("nbRegisterPlugIn")(&OnRegister, nullptr, nullptr, &OnSetVariable);
    g_registered.clear();
  }

  static qb::host::HostBool Exec(int id, std::vector<std::string> params) {
    std::vector<char*> slots;
    for (auto& p : params) slots.push_back(p.data());
    return Export<decltype(&nbExecAction)>("nbExecAction")(id, slots.data(), static_cast<int>(slots.size()) - 1);
  }

  static void* handle_;
};

void* HostAbiTest::handle_ = nullptr;

TEST_F(HostAbiTest, ExportsOnlyTheSevenEntryPoints) {
  for (const char* name : {"nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterScriptProcessor", "nbRegisterInterfaceAccess",
                           "nbMessage", "nbExecAction", "nbEditAction"})
    EXPECT_NE(dlsym(handle_, name), nullptr) << name;
  EXPECT_EQ(dlsym(handle_, "_ZN2qb4host5StateEv"), nullptr);  // internals stay hidden
}

TEST_F(HostAbiTest, RegistersThirteenEntriesInOrder) {
  Export<decltype(&nbRegisterPlugIn)>("nbRegisterPlugIn")(&OnRegister, nullptr, nullptr, &OnSetVariable);
  const std::vector<Registered> expected = {
      {0, "General", "", {0}, 0},
      {1, "kdKTBGetVersion", "Write the Quillbarrow Generator version and phase to a variable.", {6}, 1},
      {0, "Project Properties", "", {0}, 0},
      {2, "kdKTBCheckProjectFile",
       "Check whether a Quillbarrow project JSON file exists; write diagnostics to a variable.", {5, 6}, 2},
      {3, "kdKTBValidateProject",
       "Validate project JSON structure and supported target settings; write diagnostics to a variable.", {5, 6}, 2},
      {4, "kdKTBGetProjectSummary", "Read a valid project JSON file and write its project summary to a variable.",
       {5, 6}, 2},
      {0, "Plan Generation", "", {0}, 0},
      {5, "kdKTBCreateGenerationPlan",
       "Create a JSON plan describing the files that a later generation stage will produce.", {5, 10, 6}, 3},
      {0, "Design Database", "", {0}, 0},
      {8, "kdKTBDesignDatabase",
       "Open the visual database designer: define tables, fields, types, lookups, pages and the database connection.",
       {5, 6}, 2},
      {0, "Generate Application", "", {0}, 0},
      {6, "kdKTBGenerateApplication",
       "Generate PHP MVC source files, routes, views, database migrations, assets, and optional API/PWA files.",
       {5, 2, 6}, 3},
      {7, "kdKTBGenerateCRUDApplication",
       "Generate a PHP MVC CRUD application with design-time frontend preset, layout and accent colour.",
       {5, 2, 1, 1, 1, 6}, 6},
  };
  EXPECT_EQ(g_registered, expected);
  EXPECT_TRUE(g_writes.empty());
}

TEST_F(HostAbiTest, InitReleasesBlocksAlreadyInItsSlotsAndFillsThem) {
  constexpr std::size_t kBig = 4 << 20;  // large enough to be mapped on its own
  char* slots[3];
  for (char*& slot : slots) {
    slot = static_cast<char*>(std::malloc(kBig));
    std::memset(slot, 'x', kBig);
  }
  const std::size_t mapped_before = mallinfo2().hblkhd;
  Export<decltype(&nbInitPlugIn)>("nbInitPlugIn")(nullptr, &slots[0], &slots[1], &slots[2]);
  EXPECT_LE(mallinfo2().hblkhd + 3 * kBig, mapped_before);
  EXPECT_STREQ(slots[0], "kdQuillbarrow");
  EXPECT_GT(std::strlen(slots[1]), 0u);
  EXPECT_STREQ(slots[2], "Design databases visually and generate PHP CRUD web applications.");
  for (char* slot : slots) std::free(slot);
}

TEST_F(HostAbiTest, InitSkipsMissingSlots) {
  char* author = nullptr;
  Export<decltype(&nbInitPlugIn)>("nbInitPlugIn")(nullptr, nullptr, &author, nullptr);
  ASSERT_NE(author, nullptr);
  EXPECT_GT(std::strlen(author), 0u);
  std::free(author);
}

TEST_F(HostAbiTest, EachCallWritesExactlyOneVariable) {
  struct Case { int id; std::vector<std::string> params; int result; std::pair<std::string, std::string> write; };
  const Case cases[] = {
      {1, {"[KTBVersion]"}, 1,
       {"[KTBVersion]", "Quillbarrow Generator 0.9.0 | Stage 9 Design-Time Database Designer"}},
      {2, {"", "[KTBCheckResult]"}, 0, {"[KTBCheckResult]", "ERROR|Project file path is empty"}},
      {9, {"[R]"}, 0, {"[LastError]", "Quillbarrow: unknown action ID."}},
      {0, {"[R]"}, 0, {"[LastError]", "Quillbarrow: unknown action ID."}},
      {-1, {"[R]"}, 0, {"[LastError]", "Quillbarrow: unknown action ID."}},
  };
  for (const auto& c : cases) {
    g_writes.clear();
    EXPECT_EQ(Exec(c.id, c.params), c.result) << c.id;
    ASSERT_EQ(g_writes.size(), 1u) << c.id;
    EXPECT_EQ(g_writes[0], c.write) << c.id;
  }
}

// This build has no window system: the designer and the properties dialog report it.
TEST_F(HostAbiTest, DesignerWindowsReportThatTheyNeedWindows) {
  const std::pair<std::string, std::string> error = {"[LastError]", "Quillbarrow: The designer window needs Windows."};
  EXPECT_EQ(Exec(8, {"p.json", "[R]"}), 0);
  for (int id : {8, 1, 7}) {
    std::string first = "p.json", second = "[R]";
    std::vector<char*> slots = {first.data(), second.data()};
    EXPECT_EQ(Export<decltype(&nbEditAction)>("nbEditAction")(id, slots.data(), 1), 0) << id;
    EXPECT_EQ(slots[0], first.data());
    EXPECT_EQ(slots[1], second.data());
  }
  const std::vector<std::pair<std::string, std::string>> expected(4, error);
  EXPECT_EQ(g_writes, expected);
  g_writes.clear();
  EXPECT_EQ(Export<decltype(&nbEditAction)>("nbEditAction")(9, nullptr, -1), 0);
  EXPECT_TRUE(g_writes.empty());
}

TEST_F(HostAbiTest, EmptyResultVariableWritesNothing) {
  EXPECT_EQ(Exec(1, {""}), 1);
  EXPECT_TRUE(g_writes.empty());
}

TEST_F(HostAbiTest, MessageAndScriptProcessorHaveNoEffect) {
  Export<decltype(&nbMessage)>("nbMessage")(123, -4);
  Export<decltype(&nbRegisterScriptProcessor)>("nbRegisterScriptProcessor")(reinterpret_cast<void*>(0x1234));
  EXPECT_TRUE(g_registered.empty());
  EXPECT_TRUE(g_writes.empty());
  EXPECT_EQ(Exec(1, {"[V]"}), 1);
  EXPECT_EQ(g_writes.size(), 1u);
}

}  // namespace
