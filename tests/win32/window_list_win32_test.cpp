#include "system/window_list_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/window_sweep.h"

namespace morrowick {
namespace {

WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// Top-level windows of this process, one of each kind the sweep tells apart, made
// once for the suite (outside a virtual desktop Wine waits for the X server on every
// show and destroy). Only this process's windows are ever asked to close here: others
// on the desktop are enumerated and left alone.
class WindowListWin32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    visible_ = Make("visible", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr);
    minimised_ = Make("minimised", WS_OVERLAPPEDWINDOW | WS_MINIMIZE, 0, nullptr);  // not shown
    hidden_ = Make("hidden", WS_OVERLAPPEDWINDOW, 0, nullptr);
    tool_ = Make("tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW, nullptr);
    owned_ = Make("owned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, visible_);
    untitled_ = Make("", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr);
    longTitle_ = Make(std::string(1000, 'T').c_str(), WS_OVERLAPPEDWINDOW, 0, nullptr);
  }
  static void TearDownTestSuite() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) DestroyWindow(*it);
    made_.clear();
  }
  void SetUp() override {
    if (made_.size() != 7) GTEST_SKIP() << "no window system: error " << GetLastError();
  }

  static HWND Make(const char* title, DWORD style, DWORD exStyle, HWND owner) {
    HWND w = CreateWindowExA(exStyle, "STATIC", title, style, 10, 10, 200, 100, owner,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    if (w != nullptr) made_.push_back(w);
    return w;
  }

  static int ClosesQueuedFor(HWND window) {
    int closes = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
      if (msg.wParam == 0 && msg.lParam == 0) ++closes;
    }
    return closes;
  }

  WindowListWin32 windows_;
  static inline std::vector<HWND> made_;
  static inline HWND visible_ = nullptr, minimised_ = nullptr, hidden_ = nullptr,
                     tool_ = nullptr, owned_ = nullptr, untitled_ = nullptr,
                     longTitle_ = nullptr;
};

TEST_F(WindowListWin32Test, OffersEveryTopLevelWindowOnce) {
  std::vector<WindowHandle> offered;
  windows_.ForEachTopLevel([&](WindowHandle w) { offered.push_back(w); });
  for (HWND w : made_) {
    EXPECT_EQ(std::count(offered.begin(), offered.end(), Handle(w)), 1) << w;
  }
}

TEST_F(WindowListWin32Test, AnswersTheSweepsQuestions) {
  EXPECT_TRUE(windows_.IsVisible(Handle(visible_)));
  EXPECT_FALSE(windows_.IsVisible(Handle(hidden_)));
  EXPECT_FALSE(windows_.IsVisible(Handle(minimised_)));
  EXPECT_TRUE(windows_.IsIconic(Handle(minimised_)));
  EXPECT_FALSE(windows_.IsIconic(Handle(visible_)));
  EXPECT_EQ(windows_.Owner(Handle(owned_)), Handle(visible_));
  EXPECT_EQ(windows_.Owner(Handle(visible_)), 0u);
  EXPECT_NE(windows_.DesktopWindow(), 0u);
  EXPECT_EQ(windows_.DesktopWindow(), Handle(GetDesktopWindow()));
  EXPECT_NE(windows_.ExStyle(Handle(tool_)) & kToolWindowExStyle, 0u);
  EXPECT_EQ(windows_.ExStyle(Handle(visible_)) & kToolWindowExStyle, 0u);
  EXPECT_EQ(windows_.ProcessId(Handle(visible_)), GetCurrentProcessId());
  EXPECT_EQ(windows_.TitleLength(Handle(visible_)), 7);
  EXPECT_EQ(windows_.TitleLength(Handle(untitled_)), 0);
}

TEST_F(WindowListWin32Test, ALongTitleIsReadIntoTheBufferOnlyAsFarAsItGoes) {
  EXPECT_EQ(windows_.TitleLength(Handle(longTitle_)), 255);
}

TEST_F(WindowListWin32Test, PicksTheSameWindowsAsTheSweepWouldForAnotherProcess) {
  // Seen from another process, of this process's windows only these two qualify.
  constexpr uint32_t kSomeOtherProcess = 0xFFFFFFFCu;
  for (HWND w : made_) {
    const bool expected = w == visible_ || w == minimised_;
    EXPECT_EQ(IsSweptWindow(windows_, Handle(w), kSomeOtherProcess), expected) << w;
  }
}

TEST_F(WindowListWin32Test, TheSweepNeverClosesThisProgramsOwnWindows) {
  CloseAllPrograms(windows_, GetCurrentProcessId());
  for (HWND w : made_) EXPECT_EQ(ClosesQueuedFor(w), 0) << w;
}

TEST_F(WindowListWin32Test, PostsCloseWithBothParametersZero) {
  windows_.PostClose(Handle(visible_));
  EXPECT_EQ(ClosesQueuedFor(visible_), 1);
  EXPECT_TRUE(IsWindow(visible_));  // only asked; nothing waits for it
}

TEST_F(WindowListWin32Test, AnExceptionInTheVisitorStopsTheWalkAndArrivesAfterIt) {
  int visited = 0;
  EXPECT_THROW(windows_.ForEachTopLevel([&](WindowHandle) {
    ++visited;
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(visited, 1);
  // The next enumeration works as before.
  int again = 0;
  windows_.ForEachTopLevel([&](WindowHandle) { ++again; });
  EXPECT_GE(again, static_cast<int>(made_.size()));
}

}  // namespace
}  // namespace morrowick
