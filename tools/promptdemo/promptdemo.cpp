// promptdemo: shows reminder prompts through the program's own PromptWindows and
// form library, for the Wine tests, without a schedule behind them.
//
//   promptdemo show <text>...
//       Shows one prompt per text, all from one timer event (as reminders due in one
//       tick are), then runs until the last prompt has been closed, and exits.
//   promptdemo churn <count>
//       Opens and closes <count> prompts one after the other, through the message
//       loop as a user would: every even one by its button, every odd one by its
//       close box (WM_CLOSE). One prompt is opened and closed first, so the window
//       class and the cached fonts exist before counting starts. Prints, tab
//       separated, for each measure its value before, while the first counted
//       prompt is open, and after:
//         gui-user   GetGuiResources(GR_USEROBJECTS) of this process
//         gui-gdi    GetGuiResources(GR_GDIOBJECTS) of this process
//         windows    this process's windows, top-level and child, by enumeration
//         prompts    TForm6 forms the application still holds
//
// Texts arrive as UTF-16 from the command line and are handed on in GBK, the
// program's code page.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/application_win32.h"
#include "forms/form_win32.h"
#include "ui/prompt_form_win32.h"

namespace {

using morrowick::TForm6;

constexpr UINT kStepMessage = WM_APP + 1;
constexpr UINT kGbk = 936;

std::string Gbk(const wchar_t* w) {
  int n = WideCharToMultiByte(kGbk, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, w, -1, s.data(), n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwnTopLevel(HWND h, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == GetCurrentProcessId()) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(h, CountChild, count);
  }
  return TRUE;
}

struct Counts {
  DWORD user = 0, gdi = 0;
  int windows = 0;
  size_t prompts = 0;
};

Counts Measure() {
  Counts c;
  c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  EnumWindows(CountOwnTopLevel, reinterpret_cast<LPARAM>(&c.windows));
  c.prompts = forms::App().FormsOf<TForm6>().size();
  return c;
}

forms::FormDesign DriverDesign() {
  forms::FormDesign d;
  d.caption = "promptdemo";
  d.width = 200;
  d.height = 100;
  return d;
}

// The hidden main form: drives the prompts and ends the program when done.
class Driver : public forms::Form {
 public:
  Driver(std::vector<std::string> texts, int churn)
      : forms::Form("PromptDemo", DriverDesign()),
        texts_(std::move(texts)),
        churn_(churn),
        Tick(*this, 100, false),
        Watch(*this, 250, false) {
    Tick.OnTimer = [this] { ShowAll(); };
    Watch.OnTimer = [this] {
      if (forms::App().FormsOf<TForm6>().empty()) Close();
    };
  }

  void Start() {
    if (churn_ > 0) {
      PostMessageA(Handle(), kStepMessage, 0, 0);
    } else {
      Tick.SetEnabled(true);
    }
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
    if (msg == kStepMessage) {
      Step();
      return 0;
    }
    return Form::WndProc(msg, wparam, lparam);
  }

 private:
  void ShowAll() {
    Tick.SetEnabled(false);
    for (const std::string& text : texts_) prompts_.ShowPrompt(text);
    Watch.SetEnabled(true);
  }

  // One prompt opened and closed per posted message, so the loop frees each closed
  // prompt before the next step, as it does between a user's clicks.
  void Step() {
    if (step_ == 1) before_ = Measure();
    if (step_ == 0 || step_ <= churn_) {
      prompts_.ShowPrompt("第 " + std::to_string(step_) + " 条提醒: 喝水 & 休息");
      TForm6* prompt = forms::App().FormsOf<TForm6>().back();
      if (step_ == 1) open_ = Measure();
      if (step_ % 2 == 0) {
        SendMessageA(prompt->Button1.Handle(), BM_CLICK, 0, 0);
      } else {
        SendMessageA(prompt->Handle(), WM_CLOSE, 0, 0);
      }
      ++step_;
      PostMessageA(Handle(), kStepMessage, 0, 0);
      return;
    }
    const Counts after = Measure();
    std::printf("gui-user\t%lu\t%lu\t%lu\n", before_.user, open_.user, after.user);
    std::printf("gui-gdi\t%lu\t%lu\t%lu\n", before_.gdi, open_.gdi, after.gdi);
    std::printf("windows\t%d\t%d\t%d\n", before_.windows, open_.windows, after.windows);
    std::printf("prompts\t%u\t%u\t%u\n", static_cast<unsigned>(before_.prompts),
                static_cast<unsigned>(open_.prompts), static_cast<unsigned>(after.prompts));
    std::fflush(stdout);
    Close();
  }

  std::vector<std::string> texts_;
  int churn_;
  int step_ = 0;
  Counts before_, open_;
  morrowick::PromptWindows prompts_;

 public:
  forms::Timer Tick;
  forms::Timer Watch;
};

int Usage() {
  std::fprintf(stderr, "usage: promptdemo show <text>... | churn <count>\n");
  return 2;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) return Usage();
  const std::wstring command = argv[1];
  std::vector<std::string> texts;
  int churn = 0;
  if (command == L"show") {
    for (int i = 2; i < argc; ++i) texts.push_back(Gbk(argv[i]));
  } else if (command == L"churn") {
    churn = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    if (churn < 1) return Usage();
  } else {
    return Usage();
  }
  LocalFree(argv);

  forms::Application& app = forms::App();
  app.Initialize(GetModuleHandleA(nullptr));
  app.show_main_form = false;
  app.title = "promptdemo";
  app.CreateForm<Driver>(std::move(texts), churn).Start();
  return app.Run();
}
