// The application object: window classes, the main window, the message loop
// and the default display of exceptions that escape an event handler.
#pragma once

#include <windows.h>

#include <exception>

namespace win {

class Form;

class Application {
 public:
  static Application& Instance();

  void Initialize();
  HINSTANCE Module() const { return module_; }

  // The first form handed here is the main form: closing it ends Run.
  void SetMainForm(Form& form);
  Form* MainForm() const { return mainForm_; }
  // Shows the main form and dispatches messages until it has closed.
  void Run();
  // Dispatches every message already waiting, then returns.
  void ProcessMessages();
  bool Terminated() const { return terminated_; }

  void ShowException(const std::exception& error);
  void FormClosed(Form& form);

 private:
  Application() = default;
  bool DispatchOne(MSG& msg);

  HINSTANCE module_ = nullptr;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
};

}  // namespace win
