#include "system/processes_win32.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstddef>

#include "system/bounded_text.h"

namespace morrowick {

// The ANSI record in its 296-byte form; a build with UNICODE would silently switch to
// the wide one.
static_assert(sizeof(PROCESSENTRY32) == 296);
static_assert(offsetof(PROCESSENTRY32, dwSize) == 0);
static_assert(offsetof(PROCESSENTRY32, th32ProcessID) == 8);
static_assert(offsetof(PROCESSENTRY32, szExeFile) == 36);
static_assert(sizeof(PROCESSENTRY32::szExeFile) == 260);

std::vector<ProcessEntry> ProcessListWin32::Snapshot() {
  std::vector<ProcessEntry> processes;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL fetched = Process32First(snapshot, &entry); fetched;
       fetched = Process32Next(snapshot, &entry)) {
    // Bounded by the field: a name filling all 260 bytes has no zero to stop at.
    processes.push_back({entry.th32ProcessID, TextOfField(entry.szExeFile)});
  }
  CloseHandle(snapshot);
  return processes;
}

int32_t ProcessListWin32::Terminate(uint32_t processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (process == nullptr) return 0;  // refused: not ended
  const BOOL ended = TerminateProcess(process, 0);
  CloseHandle(process);
  return ended;
}

}  // namespace morrowick
