// Imports rasapi32 the ordinary way, through its import table: started from a folder
// that holds a planted rasapi32.dll, it shows that the planted DLL is loaded then.
#include <windows.h>
#include <ras.h>

#include <cstdio>

int main() {
  RASCONNA connections[1] = {};
  connections[0].dwSize = sizeof(RASCONNA);
  DWORD bytes = sizeof(connections);
  DWORD count = 0;
  DWORD rc = RasEnumConnectionsA(connections, &bytes, &count);
  std::printf("RasEnumConnectionsA %lu %lu\n", static_cast<unsigned long>(rc), static_cast<unsigned long>(count));
  return 0;
}
