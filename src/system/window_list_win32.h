// The top-level windows and the questions the sweep asks, through user32.
#pragma once

#include "system/window_sweep.h"

namespace morrowick {

class WindowListWin32 final : public WindowList {
 public:
  void ForEachTopLevel(const std::function<void(WindowHandle)>& visit) override;
  bool IsVisible(WindowHandle window) override;
  bool IsIconic(WindowHandle window) override;
  WindowHandle Owner(WindowHandle window) override;
  WindowHandle DesktopWindow() override;
  uint32_t ExStyle(WindowHandle window) override;
  uint32_t ProcessId(WindowHandle window) override;
  int TitleLength(WindowHandle window) override;
  void PostClose(WindowHandle window) override;
};

}  // namespace morrowick
