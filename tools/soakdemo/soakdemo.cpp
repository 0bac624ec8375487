// soakdemo N: the real resident window shows and closes N reminder prompts and runs N
// countdowns (started, then cancelled), and prints the process's window count, GDI and
// USER objects and committed private memory at the start and at the end, one
// "name<TAB>value" line each. Used by ./bench to show that nothing piles up.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/resident_countdown_win32.h"
#include "app/resident_win32.h"

using namespace morrowick;

namespace {

struct WindowCount {
  DWORD pid;
  int n;
};

BOOL CALLBACK CountOwn(HWND hwnd, LPARAM lp) {
  auto* c = reinterpret_cast<WindowCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == c->pid) c->n += 1;
  return TRUE;
}

int OwnWindows() {
  WindowCount count{GetCurrentProcessId(), 0};
  EnumWindows(CountOwn, reinterpret_cast<LPARAM>(&count));
  return count.n;
}

unsigned long long CommittedPrivate() {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (char* p = nullptr; VirtualQuery(p, &info, sizeof(info)) == sizeof(info);
       p = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (static_cast<char*>(info.BaseAddress) + info.RegionSize < p) break;
  }
  return total;
}

void Print(const char* when) {
  std::printf("%s_windows\t%d\n", when, OwnWindows());
  std::printf("%s_user\t%lu\n", when, GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  std::printf("%s_gdi\t%lu\n", when, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  std::printf("%s_privatecommit\t%llu\n", when, CommittedPrivate());
  std::fflush(stdout);
}

void CloseAll(const char* cls) {
  HWND w;
  while ((w = FindWindowA(cls, nullptr)) != nullptr) {
    SendMessageA(w, WM_CLOSE, 0, 0);
    forms::App().ProcessMessages();
    forms::App().FreeReleased();  // as the message loop would between two messages
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
  forms::Application& app = forms::App();
  app.Initialize(GetModuleHandleA(nullptr));
  app.show_main_form = false;
  app.title = "Morrowick";
  TForm1& form = app.CreateForm<TForm1>();
  form.Timer1.SetEnabled(false);  // nothing scheduled: only what this program drives runs
  forms::App().ProcessMessages();
  // One round first, so that what is made once for the process's life (fonts, classes)
  // is not counted as growth.
  for (int round = 0; round <= n; ++round) {
    if (round == 1) Print("start");
    form.prompts.ShowPrompt("该休息一下了。");
    forms::App().ProcessMessages();
    CloseAll("TForm6");
    form.state.PendingAction = "关机";
    form.Job().countdown.StartCountdown();
    forms::App().ProcessMessages();
    form.Job().countdown.BitBtn2Click();
    form.N1Click();  // monitoring on again after the cancel
    forms::App().ProcessMessages();
  }
  Print("end");
  form.Close();
  return 0;
}
