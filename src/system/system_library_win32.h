// DLLs that are not already part of every process are loaded from the system
// directory only, never from the program's folder, the current directory or PATH: the
// program runs elevated, often from a downloads folder where anyone may drop a DLL.
#pragma once

#include <windows.h>

#include <type_traits>

namespace morrowick {

// Makes the system directory the process's default DLL search for later loads where
// the system offers SetDefaultDllDirectories; elsewhere it does nothing. Call first
// thing at start-up.
void RestrictDllSearchToSystemDirectory();

// Loads `fileName` (a bare file name such as "rasapi32.dll") from the system
// directory. Returns null when it is not there, or when the name carries a directory
// or drive. LOAD_LIBRARY_SEARCH_SYSTEM32 where kernel32 offers it, else the full path
// under GetSystemDirectoryA.
HMODULE LoadSystemLibrary(const char* fileName);

// One system DLL held for the life of the object, with typed lookups. A missing DLL
// or function gives null, so only the action that needs it does nothing.
class SystemLibrary {
 public:
  explicit SystemLibrary(const char* fileName) : module_(LoadSystemLibrary(fileName)) {}
  ~SystemLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  HMODULE Module() const { return module_; }

  // `FunctionPointer` is the exact pointer type, calling convention included, e.g.
  // DWORD(WINAPI*)(HANDLE).
  template <typename FunctionPointer>
  FunctionPointer Function(const char* name) const {
    static_assert(std::is_pointer_v<FunctionPointer> &&
                  std::is_function_v<std::remove_pointer_t<FunctionPointer>>);
    if (module_ == nullptr) return nullptr;
    FARPROC found = GetProcAddress(module_, name);
    // Through void(*)(): the one cast between function pointer types GCC does not warn of.
    return reinterpret_cast<FunctionPointer>(reinterpret_cast<void (*)()>(found));
  }

 private:
  HMODULE module_;
};

}  // namespace morrowick
