// sweepwindows LOG: opens a visible, a minimised, a hidden, a tool, an owned and an
// untitled top-level window, and appends the name of each window that is asked to close
// (WM_CLOSE) to LOG instead of closing. The Wine tests run the close-all sweep against it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char* g_log = nullptr;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CLOSE) {
    const char* name = reinterpret_cast<const char*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (FILE* f = std::fopen(g_log, "a")) {
      std::fprintf(f, "%s %u %u\n", name != nullptr ? name : "?", static_cast<unsigned>(wparam),
                   static_cast<unsigned>(lparam));
      std::fclose(f);
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

HWND Make(const char* name, const char* title, DWORD ex_style, HWND owner, int show) {
  HWND hwnd = CreateWindowExA(ex_style, "MwSweep", title, WS_OVERLAPPEDWINDOW, 40, 40, 200, 120, owner,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(name));
  if (show >= 0) ShowWindow(hwnd, show);
  return hwnd;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_log = argv[1];
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MwSweep";
  RegisterClassA(&wc);
  HWND visible = Make("visible", "sweep visible", 0, nullptr, SW_SHOWNOACTIVATE);
  Make("minimised", "sweep minimised", 0, nullptr, SW_SHOWMINNOACTIVE);
  Make("hidden", "sweep hidden", 0, nullptr, -1);
  Make("tool", "sweep tool", WS_EX_TOOLWINDOW, nullptr, SW_SHOWNOACTIVATE);
  Make("owned", "sweep owned", 0, visible, SW_SHOWNOACTIVATE);
  Make("untitled", "", 0, nullptr, SW_SHOWNOACTIVATE);
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
