#include "system/window_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace morrowick {
namespace {

constexpr uint32_t kOwnProcess = 77;
constexpr WindowHandle kDesktop = 0x10010;

struct FakeWindow {
  WindowHandle handle;
  bool visible = true;
  bool iconic = false;
  WindowHandle owner = 0;
  uint32_t exStyle = 0;
  uint32_t processId = 500;
  int titleLength = 8;
};

// A made-up desktop. Records, per window, which questions the sweep asked, and the
// windows it posted WM_CLOSE to.
class FakeWindowList : public WindowList {
 public:
  explicit FakeWindowList(std::vector<FakeWindow> windows) : windows_(std::move(windows)) {}

  void ForEachTopLevel(const std::function<void(WindowHandle)>& visit) override {
    for (const FakeWindow& w : windows_) {
      offered.push_back(w.handle);
      visit(w.handle);
    }
  }
  bool IsVisible(WindowHandle h) override { return Ask(h, "IsVisible").visible; }
  bool IsIconic(WindowHandle h) override { return Ask(h, "IsIconic").iconic; }
  WindowHandle Owner(WindowHandle h) override { return Ask(h, "Owner").owner; }
  WindowHandle DesktopWindow() override { return kDesktop; }
  uint32_t ExStyle(WindowHandle h) override { return Ask(h, "ExStyle").exStyle; }
  uint32_t ProcessId(WindowHandle h) override { return Ask(h, "ProcessId").processId; }
  int TitleLength(WindowHandle h) override { return Ask(h, "TitleLength").titleLength; }
  void PostClose(WindowHandle h) override { closed.push_back(h); }

  bool Asked(WindowHandle h, const std::string& question) const {
    const auto it = asked.find(h);
    return it != asked.end() &&
           std::find(it->second.begin(), it->second.end(), question) != it->second.end();
  }

  std::vector<WindowHandle> offered;
  std::vector<WindowHandle> closed;
  std::map<WindowHandle, std::vector<std::string>> asked;

 private:
  const FakeWindow& Ask(WindowHandle h, const std::string& question) {
    asked[h].push_back(question);
    for (const FakeWindow& w : windows_) {
      if (w.handle == h) return w;
    }
    throw std::logic_error("asked about a window that is not listed");
  }
  std::vector<FakeWindow> windows_;
};

// One window failing each test, between windows that pass them all.
std::vector<FakeWindow> Desktop() {
  return {
      {.handle = 1},                                          // plain visible window
      {.handle = 2, .visible = false},                        // 1: hidden, not minimised
      {.handle = 3, .visible = false, .iconic = true},        // minimised: swept
      {.handle = 4, .owner = 0x999},                          // 2: owned by another window
      {.handle = 5, .owner = kDesktop},                       // owned by the desktop: swept
      {.handle = 6, .exStyle = 0x80 | 0x8},                   // 3: tool window (and topmost)
      {.handle = 7, .exStyle = 0x40000 | 0x8},                // app window, topmost: swept
      {.handle = 8, .processId = kOwnProcess},                // 4: the program's own
      {.handle = 9, .titleLength = 0},                        // 5: untitled
      {.handle = 10, .titleLength = 1},                       // one-character title: swept
  };
}

TEST(CloseAllProgramsTest, ClosesExactlyTheWindowsPassingAllFiveTests) {
  FakeWindowList windows(Desktop());
  CloseAllPrograms(windows, kOwnProcess);
  EXPECT_EQ(windows.offered, (std::vector<WindowHandle>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(windows.closed, (std::vector<WindowHandle>{1, 3, 5, 7, 10}));
}

TEST(CloseAllProgramsTest, TheFirstFailingTestDecidesAndLaterOnesAreNotAsked) {
  FakeWindowList windows(Desktop());
  CloseAllPrograms(windows, kOwnProcess);
  // Questions of the tests after the one each window fails.
  const std::map<WindowHandle, std::vector<std::string>> notAsked = {
      {2, {"Owner", "ExStyle", "ProcessId", "TitleLength"}},
      {4, {"ExStyle", "ProcessId", "TitleLength"}},
      {6, {"ProcessId", "TitleLength"}},
      {8, {"TitleLength"}},
  };
  const std::map<WindowHandle, std::string> failingQuestion = {
      {2, "IsIconic"}, {4, "Owner"}, {6, "ExStyle"}, {8, "ProcessId"}, {9, "TitleLength"}};
  for (const auto& [handle, question] : failingQuestion) {
    EXPECT_TRUE(windows.Asked(handle, question)) << handle << " " << question;
  }
  for (const auto& [handle, questions] : notAsked) {
    for (const std::string& q : questions) {
      EXPECT_FALSE(windows.Asked(handle, q)) << "window " << handle << " was asked " << q;
    }
  }
}

TEST(CloseAllProgramsTest, NeverClosesAnyWindowOfTheProgramItself) {
  std::vector<FakeWindow> own;
  for (WindowHandle h = 1; h <= 6; ++h) own.push_back({.handle = h, .processId = kOwnProcess});
  own[1].iconic = true;
  own[2].owner = kDesktop;
  FakeWindowList windows(own);
  CloseAllPrograms(windows, kOwnProcess);
  EXPECT_EQ(windows.offered.size(), 6u);
  EXPECT_TRUE(windows.closed.empty());
}

TEST(CloseAllProgramsTest, AnEmptyDesktopClosesNothing) {
  FakeWindowList windows({});
  CloseAllPrograms(windows, kOwnProcess);
  EXPECT_TRUE(windows.closed.empty());
}

}  // namespace
}  // namespace morrowick
