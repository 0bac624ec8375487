// The two windows that only show text: the reminder prompt TForm6 and the About
// window TForm2. Both are made on demand, owned by the application, shown without
// blocking, and destroyed when closed: a reminder may fire many times a day, and
// closed windows kept until the process ends would pile up.
#pragma once

#include <string>

#include "forms/application_win32.h"
#include "forms/form_win32.h"
#include "scheduler/ports.h"

namespace morrowick {

class TForm6 : public forms::Form {
 public:
  TForm6();

  forms::Label Label1;  // the text, on one line; "&" shows as itself
  forms::Button Button1;

  void Button1Click();
};

class TForm2 : public forms::Form {
 public:
  TForm2();

  // Made in this order, so they read from top to bottom: name, version, date, maker.
  forms::Label Label1;
  forms::Label Label2;
  forms::Label Label5;
  forms::Label Label3;
  forms::Label Label4;  // empty, never filled
  forms::Button Button1;

  void Button1Click();
};

// The prompt the logic shows reminders and hang-up results in: every call makes a
// new stay-on-top TForm6 at the screen centre and returns at once.
class PromptWindows : public Prompter {
 public:
  void ShowPrompt(const std::string& text) override;
};

// Opens a new About window, not kept on top, and returns at once.
void ShowAbout();

}  // namespace morrowick
