#include "system/processes.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace morrowick {
namespace {

// A made-up process table; Terminate records the id and answers from `outcomes`
// (1 when not listed there).
class FakeProcessList : public ProcessList {
 public:
  std::vector<ProcessEntry> Snapshot() override {
    ++snapshots;
    return entries;
  }
  int32_t Terminate(uint32_t processId) override {
    terminated.push_back(processId);
    const auto it = outcomes.find(processId);
    return it == outcomes.end() ? 1 : it->second;
  }

  std::vector<ProcessEntry> entries;
  std::map<uint32_t, int32_t> outcomes;
  std::vector<uint32_t> terminated;
  int snapshots = 0;
};

class TerminateProgramByNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    processes.entries = {
        {4, "System"},
        {100, "NOTEPAD.EXE"},
        {200, "explorer.exe"},
        {300, "Notepad.exe"},
        {400, "notepad.exe.bak"},
        {500, "C:\\WINDOWS\\NOTEPAD.EXE"},
        {600, "notepad"},
    };
  }
  FakeProcessList processes;
};

TEST_F(TerminateProgramByNameTest, EndsEveryMatchingProcessAndReturnsTheLastOutcome) {
  processes.outcomes = {{100, 1}, {300, 1}, {500, 77}};
  EXPECT_EQ(TerminateProgramByName(processes, "notepad.exe"), 77);
  EXPECT_EQ(processes.terminated, (std::vector<uint32_t>{100, 300, 500}));
  EXPECT_EQ(processes.snapshots, 1);
}

TEST_F(TerminateProgramByNameTest, AFailedLastAttemptIsReturnedAndEarlierFailuresDoNotStopTheWalk) {
  processes.outcomes = {{100, 0}, {300, 1}, {500, 0}};
  EXPECT_EQ(TerminateProgramByName(processes, "NOTEPAD.EXE"), 0);
  EXPECT_EQ(processes.terminated, (std::vector<uint32_t>{100, 300, 500}));

  processes.terminated.clear();
  processes.outcomes = {{100, 0}, {300, 0}, {500, 1}};
  EXPECT_EQ(TerminateProgramByName(processes, "NOTEPAD.EXE"), 1);
  EXPECT_EQ(processes.terminated.size(), 3u);
}

TEST_F(TerminateProgramByNameTest, ThreeInstancesAreAllEndedAndTheThirdOutcomeIsReturned) {
  processes.entries = {{11, "sleeper.exe"}, {12, "other.exe"}, {13, "SLEEPER.EXE"},
                       {14, "Sleeper.Exe"}};
  processes.outcomes = {{11, 5}, {13, 6}, {14, 9}};
  EXPECT_EQ(TerminateProgramByName(processes, "sleeper.exe"), 9);
  EXPECT_EQ(processes.terminated, (std::vector<uint32_t>{11, 13, 14}));
}

TEST_F(TerminateProgramByNameTest, NothingMatchedReturnsZeroAndEndsNothing) {
  EXPECT_EQ(TerminateProgramByName(processes, "calc.exe"), 0);
  EXPECT_EQ(TerminateProgramByName(processes, ""), 0);
  EXPECT_TRUE(processes.terminated.empty());

  processes.entries.clear();
  EXPECT_EQ(TerminateProgramByName(processes, "notepad.exe"), 0);
  EXPECT_TRUE(processes.terminated.empty());
}

}  // namespace
}  // namespace morrowick
