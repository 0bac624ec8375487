// The monitoring switch and the About item of the tray menu.
#include "app/resident_win32.h"

namespace morrowick {

// Chosen from the tray menu, and called by the countdown's cancel.
void TForm1::N1Click() { monitoring.N1Click(); }

void TForm1::n15Click() { ShowAbout(); }

}  // namespace morrowick
