/* A stand-in for a system DLL, as an attacker would plant it beside the program.
   Loading it leaves a marker file; its functions behave like a machine without
   dial-up connections, so a program that loads it goes on normally. */
#include <windows.h>

static void LeaveMarker(void) {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("MORROWICK_PLANT_MARKER", path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return;
  HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (f == INVALID_HANDLE_VALUE) return;
  char module[MAX_PATH] = {0};
  GetModuleFileNameA(NULL, module, sizeof(module) - 1);
  DWORD written = 0;
  WriteFile(f, module, lstrlenA(module), &written, NULL);
  WriteFile(f, "\r\n", 2, &written, NULL);
  CloseHandle(f);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker();
  return TRUE;
}

__declspec(dllexport) DWORD WINAPI RasEnumConnectionsA(void* list, DWORD* bytes, DWORD* count) {
  (void)list;
  (void)bytes;
  if (count) *count = 0;
  return 0;
}

__declspec(dllexport) DWORD WINAPI RasHangUpA(void* connection) {
  (void)connection;
  return 0;
}
