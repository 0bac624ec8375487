// Small helpers the Win32 contract tests share.
#pragma once

#include <windows.h>

#include <string>

namespace morrowick::testing {

// The directory of the running test program, with its trailing "\".
inline std::string ProgramDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path, length < sizeof path ? length : 0);
  return directory.substr(0, directory.find_last_of('\\') + 1);
}

}  // namespace morrowick::testing
