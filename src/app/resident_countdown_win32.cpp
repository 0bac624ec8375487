// The resident window's timers and countdown buttons, handed to the logic.
#include "app/resident_countdown_win32.h"

#include "app/resident_win32.h"

namespace morrowick {

void ResidentCountdownWindow::SetText(CountdownText which, const std::string& text) {
  switch (which) {
    case CountdownText::Title: form_.SetCaption(text); break;
    case CountdownText::Label1: form_.Label1.SetCaption(text); break;
    case CountdownText::Label2: form_.Label2.SetCaption(text); break;
    case CountdownText::BitBtn1: form_.BitBtn1.SetCaption(text); break;
    case CountdownText::BitBtn2: form_.BitBtn2.SetCaption(text); break;
  }
}

std::string ResidentCountdownWindow::Text(CountdownText which) const {
  switch (which) {
    case CountdownText::Title: return form_.Caption();
    case CountdownText::Label1: return form_.Label1.Caption();
    case CountdownText::Label2: return form_.Label2.Caption();
    case CountdownText::BitBtn1: return form_.BitBtn1.Caption();
    case CountdownText::BitBtn2: return form_.BitBtn2.Caption();
  }
  return {};
}

// Shown at the screen centre and above other windows; a minimised window comes back.
void ResidentCountdownWindow::Show() { form_.Show(); }
void ResidentCountdownWindow::Hide() { form_.Hide(); }
int32_t ResidentCountdownWindow::Position() const { return form_.PgBar1.Position(); }
void ResidentCountdownWindow::SetPosition(int32_t position) { form_.PgBar1.SetPosition(position); }

MainJob::MainJob(TForm1& form)
    : window(form),
      sound(form.Handle()),
      dialup(form.Handle()),
      actions(power, dialup, form.prompts, windows, GetCurrentProcessId()),
      countdown(form.state,
                CountdownPorts{window, form.Timer1, form.Timer2, sound, form, form.monitoring, actions}),
      dispatcher(form.state,
                 DispatchPorts{form.prompts, shell, processes, dialup, form.Timer1, form.Timer3, countdown}),
      tick(form.state, TickPorts{clock, dispatcher, form.Timer1, form.Timer3}) {}

MainJob& TForm1::Job() {
  if (!main_job_) main_job_ = std::make_shared<MainJob>(*this);
  return *main_job_;
}

// A failure raised here goes to the form library's error report; the program goes on.
void TForm1::Timer1Timer() { Job().tick.Timer1Timer(); }
void TForm1::Timer3Timer() { Job().tick.Timer3Timer(); }
void TForm1::Timer2Timer() { Job().countdown.Timer2Timer(); }
void TForm1::BitBtn1Click() { Job().countdown.BitBtn1Click(); }
void TForm1::BitBtn2Click() { Job().countdown.BitBtn2Click(); }

}  // namespace morrowick
