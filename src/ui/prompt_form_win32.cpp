#include "ui/prompt_form_win32.h"

namespace morrowick {

namespace {

const forms::Font kSongTi13{"宋体", -13};
const forms::Font kSongTi15{"宋体", -15};

const forms::FormDesign kPromptDesign{.caption = "提示", .width = 400, .height = 169,
                                      .stay_on_top = true, .font = kSongTi13};

const forms::FormDesign kAboutDesign{.caption = "关于...", .width = 327, .height = 292, .font = kSongTi13};

void PlaceLabel(forms::Label& label, int left, int top, const std::string& caption) {
  label.SetFont(kSongTi15);
  label.SetBounds(left, top, 0, 0);
  label.SetCaption(caption);
}

}  // namespace

// A reminder is the user's own text: "&" in it is shown, not taken as a mnemonic.
TForm6::TForm6()
    : forms::Form("TForm6", kPromptDesign), Label1(*this, /*show_accel_char=*/false), Button1(*this) {
  Label1.SetBounds(48, 48, 0, 0);
  Label1.SetCaption("");
  Button1.SetBounds(160, 96, 75, 25);
  Button1.SetCaption("确定");
  Button1.SetTabOrder(0);
  Button1.OnClick = [this] { Button1Click(); };
}

void TForm6::Button1Click() { Close(); }

TForm2::TForm2()
    : forms::Form("TForm2", kAboutDesign),
      Label1(*this),
      Label2(*this),
      Label5(*this),
      Label3(*this),
      Label4(*this),
      Button1(*this) {
  PlaceLabel(Label1, 82, 64, "名称:    Morrowick");
  PlaceLabel(Label2, 82, 96, "版本:    2016");
  PlaceLabel(Label5, 81, 126, "时间:    2016年9月19日");
  PlaceLabel(Label3, 82, 154, "制作:    Quorvane");
  PlaceLabel(Label4, 82, 183, "");
  Button1.SetBounds(112, 216, 75, 25);
  Button1.SetCaption("确定(&O)");
  Button1.SetTabOrder(0);
  Button1.OnClick = [this] { Button1Click(); };
}

void TForm2::Button1Click() { Close(); }

void PromptWindows::ShowPrompt(const std::string& text) {
  TForm6& form = forms::App().CreateForm<TForm6>();
  form.Show();  // placed at the screen centre on its first showing
  SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  form.Label1.SetCaption(text);
}

void ShowAbout() { forms::App().CreateForm<TForm2>().Show(); }

}  // namespace morrowick
