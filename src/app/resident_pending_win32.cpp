// Handlers of the resident window whose work is not built yet; each moves to the
// file of its own concern when it is.
#include "app/resident_win32.h"

namespace morrowick {

void TForm1::N1Click() {}
void TForm1::n4Click() {}
void TForm1::n6Click() {}
void TForm1::n7Click() {}
void TForm1::n8Click() {}
void TForm1::n9Click() {}
void TForm1::n10Click() {}
void TForm1::n11Click() {}
void TForm1::n12Click() {}
void TForm1::n13Click() {}
void TForm1::n15Click() {}
void TForm1::n16Click() {}
void TForm1::n18Click() {}
void TForm1::n19Click() {}
void TForm1::N20Click() {}
void TForm1::Timer1Timer() {}
void TForm1::Timer2Timer() {}
void TForm1::Timer3Timer() {}
void TForm1::BitBtn1Click() {}
void TForm1::BitBtn2Click() {}

}  // namespace morrowick
