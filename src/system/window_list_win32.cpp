#include "system/window_list_win32.h"

#include <windows.h>

#include <exception>

namespace morrowick {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

// The enumeration under way on this thread. EnumWindows gets the application value 0,
// so the callback finds its visitor here; the previous value is put back afterwards.
struct Enumeration {
  const std::function<void(WindowHandle)>* visit;
  std::exception_ptr failure;
};
thread_local Enumeration* currentEnumeration = nullptr;

// No exception may unwind through EnumWindows: it is kept, the enumeration stopped,
// and the exception raised again once EnumWindows has returned.
BOOL CALLBACK OfferWindow(HWND window, LPARAM) {
  Enumeration* enumeration = currentEnumeration;
  if (enumeration == nullptr) return FALSE;
  try {
    (*enumeration->visit)(reinterpret_cast<WindowHandle>(window));
    return TRUE;
  } catch (...) {
    enumeration->failure = std::current_exception();
    return FALSE;
  }
}

}  // namespace

void WindowListWin32::ForEachTopLevel(const std::function<void(WindowHandle)>& visit) {
  Enumeration enumeration{&visit, nullptr};
  Enumeration* outer = currentEnumeration;
  currentEnumeration = &enumeration;
  EnumWindows(OfferWindow, 0);
  currentEnumeration = outer;
  if (enumeration.failure) std::rethrow_exception(enumeration.failure);
}

bool WindowListWin32::IsVisible(WindowHandle window) {
  return ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

bool WindowListWin32::IsIconic(WindowHandle window) {
  return ::IsIconic(ToHwnd(window)) != FALSE;
}

WindowHandle WindowListWin32::Owner(WindowHandle window) {
  return static_cast<WindowHandle>(
      static_cast<ULONG>(GetWindowLongA(ToHwnd(window), GWL_HWNDPARENT)));
}

WindowHandle WindowListWin32::DesktopWindow() {
  return reinterpret_cast<WindowHandle>(GetDesktopWindow());
}

uint32_t WindowListWin32::ExStyle(WindowHandle window) {
  return static_cast<uint32_t>(GetWindowLongA(ToHwnd(window), GWL_EXSTYLE));
}

uint32_t WindowListWin32::ProcessId(WindowHandle window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(ToHwnd(window), &processId);
  return processId;
}

int WindowListWin32::TitleLength(WindowHandle window) {
  char title[256];
  return GetWindowTextA(ToHwnd(window), title, sizeof title);
}

void WindowListWin32::PostClose(WindowHandle window) {
  PostMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}

}  // namespace morrowick
