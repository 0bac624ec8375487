#include "system/processes_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/processes.h"
#include "system/program_name.h"
#include "win32_test_support.h"

namespace morrowick {
namespace {

using testing::ProgramDirectory;

// Starts `exe` with an argument of 120 seconds; the processes end by themselves
// should a test fail before ending them.
class Children {
 public:
  ~Children() {
    for (const PROCESS_INFORMATION& child : children_) {
      TerminateProcess(child.hProcess, 99);
      WaitForSingleObject(child.hProcess, 5000);
      CloseHandle(child.hProcess);
      CloseHandle(child.hThread);
    }
  }
  HANDLE Start(const std::string& exe) {
    std::string commandLine = "\"" + exe + "\" 120";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child)) {
      ADD_FAILURE() << "cannot start " << exe << ": error " << GetLastError();
      return nullptr;
    }
    children_.push_back(child);
    return child.hProcess;
  }

 private:
  std::vector<PROCESS_INFORMATION> children_;
};

class ProcessesWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    sleeper_ = ProgramDirectory() + "sleeper.exe";
    ASSERT_NE(GetFileAttributesA(sleeper_.c_str()), INVALID_FILE_ATTRIBUTES) << sleeper_;
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    // Same program, a name that differs from "sleeper.exe" only by what follows it.
    other_ = std::string(temp) + "sleeper.exe.bak";
    ASSERT_TRUE(CopyFileA(sleeper_.c_str(), other_.c_str(), FALSE)) << other_;
  }
  void TearDown() override { DeleteFileA(other_.c_str()); }

  static bool Running(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

  std::string sleeper_;
  std::string other_;
  ProcessListWin32 processes_;
};

TEST_F(ProcessesWin32Test, EndsAllThreeInstancesByNameAndLeavesTheOtherProgramRunning) {
  Children children;
  HANDLE three[3];
  for (HANDLE& h : three) {
    h = children.Start(sleeper_);
    ASSERT_NE(h, nullptr);
  }
  HANDLE other = children.Start(other_);
  ASSERT_NE(other, nullptr);
  for (HANDLE h : three) ASSERT_TRUE(Running(h));

  EXPECT_NE(TerminateProgramByName(processes_, "SLEEPER.EXE"), 0);

  for (HANDLE h : three) {
    ASSERT_EQ(WaitForSingleObject(h, 10000), WAIT_OBJECT_0);
    DWORD code = 1234;
    ASSERT_TRUE(GetExitCodeProcess(h, &code));
    EXPECT_EQ(code, 0u);  // ended from outside with exit code 0, not run out (3)
  }
  EXPECT_TRUE(Running(other));

  EXPECT_EQ(TerminateProgramByName(processes_, "sleeper.exe"), 0);  // none left to end
  EXPECT_EQ(TerminateProgramByName(processes_, ""), 0);
  EXPECT_TRUE(Running(other));
}

TEST_F(ProcessesWin32Test, TheSnapshotListsThisProgramByIdAndExecutableName) {
  bool found = false;
  for (const ProcessEntry& entry : processes_.Snapshot()) {
    if (entry.id == GetCurrentProcessId()) {
      found = true;
      char path[MAX_PATH];
      const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
      ASSERT_GT(length, 0u);
      ASSERT_LT(length, sizeof path);
      EXPECT_TRUE(ProgramNameMatches(entry.exeName, FileNamePart(path))) << entry.exeName;
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(ProcessesWin32Test, AProcessThatCannotBeOpenedIsNotEnded) {
  // Ids are multiples of 4; this one is not in use.
  EXPECT_EQ(processes_.Terminate(0xFFFFFFF0u), 0);
}

// The handle table hands out the slot freed last (Windows) or the lowest free one
// (Wine): a slot freed just before is handed out again afterwards only if every handle
// opened in between was closed. Where the system counts handles, the count must not
// grow either.
TEST_F(ProcessesWin32Test, EndingProcessesByNameLeavesNoHandleOpen) {
  Children children;
  std::vector<HANDLE> handles;
  for (int i = 0; i < 5; ++i) {
    HANDLE h = children.Start(sleeper_);
    ASSERT_NE(h, nullptr);
    handles.push_back(h);
  }
  DWORD countBefore = 0;
  const bool counted = GetProcessHandleCount(GetCurrentProcess(), &countBefore) && countBefore > 0;
  HANDLE probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(probe, nullptr);
  CloseHandle(probe);

  EXPECT_NE(TerminateProgramByName(processes_, "sleeper.exe"), 0);

  HANDLE again = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again, probe) << "a handle opened while ending the processes is still open";
  CloseHandle(again);
  for (HANDLE h : handles) ASSERT_EQ(WaitForSingleObject(h, 10000), WAIT_OBJECT_0);
  if (counted) {
    DWORD countAfter = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &countAfter));
    EXPECT_EQ(countAfter, countBefore);
  }
}

}  // namespace
}  // namespace morrowick
