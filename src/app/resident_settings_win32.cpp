// The tray menu's "设置(&S)": the settings window, one at a time.
#include "app/resident_win32.h"
#include "forms/application_win32.h"
#include "store/store.h"
#include "ui/settings_form_win32.h"

namespace morrowick {

void TForm1::n4Click() {
  // A second choice of the item brings the open window forward: a second list would
  // not follow the changes made through the first one.
  if (TForm3* open = TForm3::Open()) {
    open->BringToFront();
    return;
  }
  Timer1.SetEnabled(false);
  OpenProgramKey(*state.registry);
  TForm3& settings = forms::App().CreateForm<TForm3>(state, Timer1, PgBar1);
  settings.Show();
  settings.LoadFromStore();
}

}  // namespace morrowick
