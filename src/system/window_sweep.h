// The sweep before standby and hibernate: asks every other program's main windows to
// close ("closing all programs").
#pragma once

#include <cstdint>
#include <functional>

namespace morrowick {

using WindowHandle = std::uintptr_t;

constexpr uint32_t kToolWindowExStyle = 0x80;  // WS_EX_TOOLWINDOW

// The system's top-level windows and the few questions the sweep asks of each;
// abstract so the sweep's tests can be run against a made-up desktop.
class WindowList {
 public:
  virtual ~WindowList() = default;
  // Offers every top-level window once, in the system's order.
  virtual void ForEachTopLevel(const std::function<void(WindowHandle)>& visit) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  virtual bool IsIconic(WindowHandle window) = 0;
  virtual WindowHandle Owner(WindowHandle window) = 0;  // 0 when it has none
  virtual WindowHandle DesktopWindow() = 0;
  virtual uint32_t ExStyle(WindowHandle window) = 0;
  virtual uint32_t ProcessId(WindowHandle window) = 0;
  // Length of the title as read into a 256-byte buffer; 0 when it has none.
  virtual int TitleLength(WindowHandle window) = 0;
  // Queues WM_CLOSE with both parameters 0; does not wait.
  virtual void PostClose(WindowHandle window) = 0;
};

// True when the sweep asks this window to close. The tests run in this order and the
// first that fails decides: visible or minimised; owned by nothing or by the desktop;
// not a tool window; of another process than ownProcessId; titled.
bool IsSweptWindow(WindowList& windows, WindowHandle window, uint32_t ownProcessId);

// Posts WM_CLOSE to every window IsSweptWindow picks; the program's own windows
// (process ownProcessId) are never closed. Each program decides itself whether to close.
void CloseAllPrograms(WindowList& windows, uint32_t ownProcessId);

}  // namespace morrowick
