#include "plugin/dispatch.hpp"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/host_state.hpp"

namespace qb::host {
namespace {

std::vector<std::pair<std::string, std::string>> g_writes;

void QB_STDCALL Record(char* name, char* value) { g_writes.emplace_back(name, value); }

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_writes.clear();
    State().set_variable = &Record;
  }
  void TearDown() override { State().set_variable = nullptr; }
};

TEST_F(DispatchTest, SuccessWritesOnlyTheResultVariable) {
  EXPECT_TRUE(DeliverTrapped([] { return ActionOutcome{"[V]", "OK|done", true}; }));
  EXPECT_FALSE(DeliverTrapped([] { return ActionOutcome{"[V]", "ERROR|no", false}; }));
  const std::vector<std::pair<std::string, std::string>> expected = {{"[V]", "OK|done"}, {"[V]", "ERROR|no"}};
  EXPECT_EQ(g_writes, expected);
}

TEST_F(DispatchTest, EveryKindOfErrorLandsInLastError) {
  struct Case { std::function<ActionOutcome()> work; std::string message; };
  const Case cases[] = {
      {[]() -> ActionOutcome { throw std::runtime_error("disk full"); }, "Quillbarrow: disk full"},
      {[]() -> ActionOutcome { throw std::bad_alloc(); }, "Quillbarrow: std::bad_alloc"},
      {[]() -> ActionOutcome { throw 42; }, "Quillbarrow: unexpected error."},
  };
  for (const auto& c : cases) {
    g_writes.clear();
    EXPECT_FALSE(DeliverTrapped(c.work));
    const std::vector<std::pair<std::string, std::string>> expected = {{"[LastError]", c.message}};
    EXPECT_EQ(g_writes, expected);
  }
}

TEST_F(DispatchTest, EmptyVariableNameOrNoCallbackWritesNothingButKeepsTheResult) {
  EXPECT_TRUE(DeliverTrapped([] { return ActionOutcome{"", "OK|x", true}; }));
  State().set_variable = nullptr;
  EXPECT_TRUE(DeliverTrapped([] { return ActionOutcome{"[V]", "OK|x", true}; }));
  EXPECT_FALSE(DeliverTrapped([]() -> ActionOutcome { throw std::runtime_error("lost"); }));
  EXPECT_TRUE(g_writes.empty());
}

TEST_F(DispatchTest, MissingSlotsReadAsEmpty) {
  char first[] = "[KTBVersion]";
  char* slots[] = {first};
  EXPECT_TRUE(ExecuteAction(1, ActionParams(slots, 0)));
  EXPECT_FALSE(ExecuteAction(2, ActionParams(slots, -1)));  // no slots at all
  EXPECT_FALSE(ExecuteAction(2, ActionParams(nullptr, 5)));  // null array
  ASSERT_EQ(g_writes.size(), 1u);
  EXPECT_EQ(g_writes[0].first, "[KTBVersion]");
}

}  // namespace
}  // namespace qb::host
