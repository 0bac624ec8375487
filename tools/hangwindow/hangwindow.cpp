// A program whose top-level window stops answering messages: the Wine tests use it to
// show that a broadcast from Morrowick does not wait for a hung program.
// Argument: seconds to hang (default 60). The window answers for half a second, so
// it is fully created, then its thread sleeps without looking at its queue.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 60;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MwHungWindow";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "hung", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
  if (window == nullptr) return 2;
  const DWORD until = GetTickCount() + 500;
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  Sleep(static_cast<DWORD>(seconds > 0 ? seconds : 60) * 1000);
  return 3;
}
