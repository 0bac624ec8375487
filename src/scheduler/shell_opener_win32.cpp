#include "scheduler/shell_opener_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace morrowick {

void ShellOpenerWin32::Open(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace morrowick
