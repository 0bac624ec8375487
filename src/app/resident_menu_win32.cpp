// The tray menu's own commands: the CD drive door, the display, help, the download
// page. The power items, the monitoring switch, settings and About live with their
// concerns; exit is the resident window's close.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/resident_win32.h"
#include "system/program_name.h"
#include "system/system_library_win32.h"

namespace morrowick {

namespace {

constexpr char kHelpFileName[] = "Morrowick.CHM";
constexpr char kDownloadPage[] = "https://morrowick.example/download";

// A hung top-level window of another program must not hold up the resident window,
// and with it every scheduled task: each window gets this long to take the broadcast.
constexpr UINT kMonitorOffTimeoutMs = 3000;
constexpr LPARAM kMonitorPowerOff = 2;

// winmm is not among the DLLs every process already has, so it comes from the system
// directory only, never from the folder the program was started from.
using MciSendStringPointer = DWORD(WINAPI*)(LPCSTR command, LPSTR returnString, UINT returnLength,
                                            HWND callback);

void SendMciCommand(const char* command, HWND callback) {
  SystemLibrary winmm("winmm.dll");
  auto send = winmm.Function<MciSendStringPointer>("mciSendStringA");
  if (send == nullptr) return;  // no multimedia commands on this system: nothing to do
  send(command, nullptr, 0, callback);
}

}  // namespace

void TForm1::n11Click() { SendMciCommand("Set cdaudio door open wait", Handle()); }

void TForm1::n12Click() { SendMciCommand("Set cdaudio door closed wait", Handle()); }

void TForm1::n13Click() {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorPowerOff, SMTO_ABORTIFHUNG,
                      kMonitorOffTimeoutMs, &result);
}

void TForm1::n16Click() {
  // Only the directory of the program's own file: a help file in the current
  // directory is never the one opened.
  const std::string exe = forms::App().ExeName();
  const std::string directory = exe.substr(0, exe.size() - FileNamePart(exe).size());
  if (directory.empty()) return;  // the system gave no full path: there is no folder to look in
  const std::string help = directory + kHelpFileName;
  ShellExecuteA(Handle(), nullptr, help.c_str(), "", "", SW_SHOWNORMAL);
}

void TForm1::N20Click() { ShellExecuteA(nullptr, "open", kDownloadPage, nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace morrowick
