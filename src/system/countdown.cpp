#include "system/countdown.h"

#include "system/dialup.h"
#include "system/power.h"
#include "system/window_sweep.h"

namespace morrowick {

void SystemCountdownActions::PerformPendingAction(const std::string& word) {
  morrowick::PerformPendingAction(word, power_, dialup_, prompter_);
}

void SystemCountdownActions::CloseAllPrograms() {
  morrowick::CloseAllPrograms(windows_, own_process_id_);
}

void Countdown::MyChangeCaption(const std::string& word) {
  p_.window.SetText(CountdownText::BitBtn1, "立即" + word);
  p_.window.SetText(CountdownText::BitBtn2, "取消" + word);
  const std::string cancel = p_.window.Text(CountdownText::BitBtn2);
  p_.window.SetText(CountdownText::Label1, "要想" + cancel + "，请按下<" + cancel + ">按钮:剩余");
  p_.window.SetText(CountdownText::Title, "Windows 正在准备" + word + "...");
}

void Countdown::ShowSecondsLeft() {
  // 64-bit so that no stored length can overflow the difference.
  const int64_t left = int64_t{state_.settings.tishi} - p_.window.Position();
  p_.window.SetText(CountdownText::Label2, std::to_string(left) + " 秒");
}

void Countdown::EndSoundIfSet() {
  if (!state_.settings.soundpath.empty()) p_.sound.PlaySound(state_.settings.soundpath, kSoundEnd);
}

void Countdown::StartCountdown() {
  const std::string word = state_.PendingAction;
  if (word.empty()) return;
  MyChangeCaption(word);
  // The seconds left from the first moment, not the last text of a previous countdown.
  ShowSecondsLeft();
  p_.timer2.SetEnabled(true);
  p_.timer1.SetEnabled(false);
  p_.window.Show();
  if (!state_.settings.soundpath.empty()) p_.sound.PlaySound(state_.settings.soundpath, kSoundLoop);
  if (state_.settings.shutapp == 1 && (word == "待机" || word == "休眠")) p_.actions.CloseAllPrograms();
}

void Countdown::Timer2Timer() {
  p_.window.SetPosition(p_.window.Position() + 1);
  ShowSecondsLeft();
  if (p_.window.Position() < state_.settings.tishi) return;
  // Run-out ends like acting at once, the sound included: after a hang-up or a wake
  // from standby the loop would otherwise go on until the next countdown.
  EndAndPerform();
}

void Countdown::BitBtn1Click() { EndAndPerform(); }

void Countdown::EndAndPerform() {
  EndSoundIfSet();
  p_.window.SetPosition(0);
  p_.window.Hide();
  p_.timer1.SetEnabled(true);
  p_.timer2.SetEnabled(false);
  p_.actions.PerformPendingAction(state_.PendingAction);
}

void Countdown::BitBtn2Click() {
  p_.timer1.SetEnabled(false);
  p_.timer2.SetEnabled(false);
  p_.sound.PlaySound(state_.settings.soundpath, kSoundEnd);  // made whether or not a path is set
  p_.window.SetPosition(0);
  if (p_.monitoring.On()) p_.monitoring.N1Click();
  p_.window.Hide();
  p_.tray.Modify(TrayPicture::Disabled, kTipDisabled);
}

}  // namespace morrowick
