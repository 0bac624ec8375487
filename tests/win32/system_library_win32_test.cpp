#include "system/system_library_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32_test_support.h"

namespace morrowick {
namespace {

using testing::ProgramDirectory;

std::string UpperCased(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return text;
}

std::string SystemDirectory() {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, sizeof directory);
  return std::string(directory, length < sizeof directory ? length : 0);
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

TEST(SystemLibraryWin32Test, LoadsADllByNameFromTheSystemDirectory) {
  for (const char* name : {"rasapi32.dll", "wininet.dll", "ntdll.dll"}) {
    HMODULE module = LoadSystemLibrary(name);
    ASSERT_NE(module, nullptr) << name;
    const std::string path = UpperCased(ModulePath(module));
    EXPECT_EQ(path, UpperCased(SystemDirectory() + "\\" + name));
    FreeLibrary(module);
  }
}

TEST(SystemLibraryWin32Test, LooksUpTypedFunctionsAndGivesNullForMissingOnes) {
  using RasHangUpPointer = DWORD(WINAPI*)(HANDLE);
  SystemLibrary rasapi32("rasapi32.dll");
  ASSERT_TRUE(rasapi32.Loaded());
  EXPECT_EQ(reinterpret_cast<void*>(rasapi32.Function<RasHangUpPointer>("RasHangUpA")),
            reinterpret_cast<void*>(GetProcAddress(rasapi32.Module(), "RasHangUpA")));
  EXPECT_NE(rasapi32.Function<RasHangUpPointer>("RasHangUpA"), nullptr);
  EXPECT_EQ(rasapi32.Function<RasHangUpPointer>("NoSuchFunctionAnywhere"), nullptr);

  SystemLibrary missing("morrowick-no-such-library.dll");
  EXPECT_FALSE(missing.Loaded());
  EXPECT_EQ(missing.Function<RasHangUpPointer>("RasHangUpA"), nullptr);
}

TEST(SystemLibraryWin32Test, RefusesNamesWithADirectoryOrDrive) {
  const std::string inSystem = SystemDirectory() + "\\rasapi32.dll";
  for (const std::string& name :
       {inSystem, std::string("..\\rasapi32.dll"), std::string(".\\rasapi32.dll"),
        std::string("system32/rasapi32.dll"), std::string("C:rasapi32.dll"), std::string("")}) {
    EXPECT_EQ(LoadSystemLibrary(name.c_str()), nullptr) << name;
  }
  EXPECT_EQ(LoadSystemLibrary(nullptr), nullptr);
}

// A loadable image placed beside the program under a name the system directory lacks:
// the ordinary search finds it there, the system-directory load must not.
TEST(SystemLibraryWin32Test, IgnoresALibraryPlacedBesideTheProgram) {
  const std::string planted = ProgramDirectory() + "mwplanted.dll";
  ASSERT_TRUE(CopyFileA((ProgramDirectory() + "sleeper.exe").c_str(), planted.c_str(), FALSE));

  HMODULE ordinary = LoadLibraryA("mwplanted.dll");
  ASSERT_NE(ordinary, nullptr) << "the ordinary search should find the planted file";
  EXPECT_EQ(UpperCased(ModulePath(ordinary)), UpperCased(planted));
  FreeLibrary(ordinary);

  HMODULE fromSystem = LoadSystemLibrary("mwplanted.dll");
  EXPECT_EQ(fromSystem, nullptr);
  if (fromSystem != nullptr) FreeLibrary(fromSystem);

  // Once the process's default search is the system directory, the ordinary load
  // misses it too. This stays in force for the rest of the test program.
  RestrictDllSearchToSystemDirectory();
  HMODULE after = LoadLibraryA("mwplanted.dll");
  EXPECT_EQ(after, nullptr);
  if (after != nullptr) FreeLibrary(after);
  // System DLLs are still found by name.
  HMODULE system = LoadLibraryA("rasapi32.dll");
  EXPECT_NE(system, nullptr);
  if (system != nullptr) FreeLibrary(system);

  DeleteFileA(planted.c_str());
}

}  // namespace
}  // namespace morrowick
