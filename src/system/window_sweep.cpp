#include "system/window_sweep.h"

namespace morrowick {

bool IsSweptWindow(WindowList& windows, WindowHandle window, uint32_t ownProcessId) {
  if (!windows.IsVisible(window) && !windows.IsIconic(window)) return false;
  const WindowHandle owner = windows.Owner(window);
  if (owner != 0 && owner != windows.DesktopWindow()) return false;
  if ((windows.ExStyle(window) & kToolWindowExStyle) != 0) return false;
  if (windows.ProcessId(window) == ownProcessId) return false;
  return windows.TitleLength(window) >= 1;
}

void CloseAllPrograms(WindowList& windows, uint32_t ownProcessId) {
  windows.ForEachTopLevel([&](WindowHandle window) {
    if (IsSweptWindow(windows, window, ownProcessId)) windows.PostClose(window);
  });
}

}  // namespace morrowick
