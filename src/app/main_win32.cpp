// The process entry: no window is shown at start; the resident window sits in the tray.
#include <windows.h>

#include "app/resident_win32.h"
#include "system/system_library_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything loads a DLL: only the system directory is searched, so a DLL
  // planted beside the program (often in the downloads folder) is never loaded.
  morrowick::RestrictDllSearchToSystemDirectory();
  forms::Application& app = forms::App();
  app.Initialize(instance);
  app.show_main_form = false;
  app.title = "Morrowick";
  app.CreateForm<morrowick::TForm1>();
  return app.Run();
}
