// The application object of our small form library: title, main form, message loop,
// the forms it owns, and the default error report every event handler runs under.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace forms {

class Form;

class Application {
 public:
  static Application& Get();

  void Initialize(HINSTANCE instance);
  HINSTANCE Instance() const { return instance_; }

  std::string title;
  bool show_main_form = true;

  // The first form created this way is the main form: closing it ends the loop.
  template <class F, class... Args>
  F& CreateForm(Args&&... args) {
    auto form = std::make_unique<F>(std::forward<Args>(args)...);
    F& ref = *form;
    Adopt(std::move(form));
    ref.Realize();
    return ref;
  }
  Form* MainForm() const { return main_form_; }
  void SetMainForm(Form* form) { main_form_ = form; }

  int Run();
  void ProcessMessages();
  void Terminate() { PostQuitMessage(0); }

  // Shows the error report: error icon, caption title, the message with a full stop.
  // While a report of the same text is open, a second one is not stacked on it.
  void ShowException(const std::exception& error);
  void ShowException(const std::string& message);

  // The full path of the running program, as the system reports it.
  std::string ExeName() const;

  // Forms owned by the application. A closed form that is not the main form is
  // released: destroyed once its handler has returned.
  void Adopt(std::unique_ptr<Form> form);
  void Release(Form* form);
  bool Owns(const Form* form) const;
  template <class F>
  std::vector<F*> FormsOf() const {
    std::vector<F*> out;
    for (const auto& f : forms_) {
      if (auto* p = dynamic_cast<F*>(f.get())) out.push_back(p);
    }
    return out;
  }
  void DestroyAll();
  // Destroys the forms released since the last call. The message loop calls it between
  // messages, when no handler of theirs is running; so may a program that drives the
  // forms without the loop.
  void FreeReleased();

 private:
  bool DispatchDialogKeys(MSG& msg);

  HINSTANCE instance_ = nullptr;
  Form* main_form_ = nullptr;
  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<Form*> released_;
  std::set<std::string> open_reports_;
};

inline Application& App() { return Application::Get(); }

// Runs an event handler; an exception it raises goes to the error report and the
// program keeps running. Every entry from Win32 into our code goes through here.
template <class Fn>
void Guarded(Fn&& fn) noexcept {
  try {
    fn();
  } catch (const std::exception& e) {
    App().ShowException(e);
  } catch (...) {
    App().ShowException(std::string("Unknown error"));
  }
}

}  // namespace forms
