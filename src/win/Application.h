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
  // ProcessMessages, but only when the last look at the queue lies
  // kMessageIntervalMs or more back. A long loop calls this at every step:
  // the window stays responsive, and the steps in between cost a clock read
  // instead of a trip to the window system.
  void ProcessMessagesWhenDue();
  static constexpr int kMessageIntervalMs = 10;
  bool Terminated() const { return terminated_; }

  void ShowException(const std::exception& error);
  void FormClosed(Form& form);

 private:
  Application() = default;
  bool DispatchOne(MSG& msg);

  HINSTANCE module_ = nullptr;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  LONGLONG lastProcessed_ = 0;  // performance-counter ticks
};

}  // namespace win
