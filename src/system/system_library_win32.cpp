#include "system/system_library_win32.h"

#include <cstring>
#include <string>

namespace morrowick {
namespace {

using SetDefaultDllDirectoriesPointer = BOOL(WINAPI*)(DWORD);

// kernel32 is in every process; asking it by handle loads nothing.
SetDefaultDllDirectoriesPointer FindSetDefaultDllDirectories() {
  HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  if (kernel32 == nullptr) return nullptr;
  return reinterpret_cast<SetDefaultDllDirectoriesPointer>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
}

// Systems that have SetDefaultDllDirectories also understand the LOAD_LIBRARY_SEARCH_*
// flags of LoadLibraryExA; older ones reject them.
bool SystemOffersSearchFlags() { return FindSetDefaultDllDirectories() != nullptr; }

bool IsBareFileName(const char* fileName) {
  if (fileName == nullptr || fileName[0] == '\0') return false;
  return std::strpbrk(fileName, "\\/:") == nullptr;
}

}  // namespace

void RestrictDllSearchToSystemDirectory() {
  if (SetDefaultDllDirectoriesPointer set = FindSetDefaultDllDirectories()) {
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

HMODULE LoadSystemLibrary(const char* fileName) {
  // A path would make either way below load that file wherever it is.
  if (!IsBareFileName(fileName)) return nullptr;
  if (SystemOffersSearchFlags()) {
    return LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) return nullptr;
  std::string path(directory, length);
  if (path.back() != '\\') path += '\\';
  path += fileName;
  if (path.size() >= MAX_PATH) return nullptr;
  // The DLL's own imports are then looked for beside it, in the system directory,
  // rather than beside the program.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace morrowick
