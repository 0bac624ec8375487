#include "forms/application_win32.h"

#include <algorithm>

#include "forms/form_win32.h"

namespace forms {

Application& Application::Get() {
  static Application app;
  return app;
}

void Application::Initialize(HINSTANCE instance) {
  instance_ = instance;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                            ICC_DATE_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
}

void Application::Adopt(std::unique_ptr<Form> form) {
  if (main_form_ == nullptr) main_form_ = form.get();
  forms_.push_back(std::move(form));
}

void Application::Release(Form* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
}

bool Application::Owns(const Form* form) const {
  return std::any_of(forms_.begin(), forms_.end(), [form](const auto& f) { return f.get() == form; });
}

void Application::FreeReleased() {
  if (released_.empty()) return;
  std::vector<Form*> doomed;
  doomed.swap(released_);
  for (Form* f : doomed) {
    forms_.erase(std::remove_if(forms_.begin(), forms_.end(), [f](const auto& p) { return p.get() == f; }),
                 forms_.end());
  }
}

void Application::DestroyAll() {
  released_.clear();
  // Later forms first; the main form last.
  while (!forms_.empty()) forms_.pop_back();
  main_form_ = nullptr;
}

bool Application::DispatchDialogKeys(MSG& msg) {
  // Tab, Enter and Esc in our forms go through the dialog manager.
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (top == nullptr) return false;
  for (const auto& f : forms_) {
    if (f->Handle() == top) return IsDialogMessageA(top, &msg) != FALSE;
  }
  return false;
}

int Application::Run() {
  if (main_form_ != nullptr && show_main_form) main_form_->Show();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!DispatchDialogKeys(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    FreeReleased();
  }
  DestroyAll();
  return static_cast<int>(msg.wParam);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!DispatchDialogKeys(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void Application::ShowException(const std::exception& error) { ShowException(std::string(error.what())); }

void Application::ShowException(const std::string& message) {
  try {
    std::string text = message;
    if (text.empty() || text.back() != '.') text += '.';
    if (!open_reports_.insert(text).second) return;  // the same report is still open
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    open_reports_.erase(text);
  } catch (...) {
    // Reporting must never throw into a window procedure.
  }
}

std::string Application::ExeName() const {
  char path[MAX_PATH * 4] = {};
  DWORD len = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(sizeof(path)));
  if (len >= sizeof(path)) len = 0;
  return std::string(path, len);
}

}  // namespace forms
