#include "win/Application.h"

#include <string>

#include "win/Container.h"
#include "win/Form.h"
#include "win/MessageBox.h"

namespace win {

Application& Application::Instance() {
  static Application application;
  return application;
}

void Application::Initialize() {
  if (module_) return;
  module_ = GetModuleHandleA(nullptr);
  Container::RegisterClass(module_);
  Form::RegisterClass(module_);
}

void Application::SetMainForm(Form& form) {
  if (!mainForm_) mainForm_ = &form;
}

void Application::Run() {
  if (!mainForm_) return;
  mainForm_->Show();
  MSG msg;
  while (!terminated_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    DispatchOne(msg);
  }
}

namespace {

LONGLONG CounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LONGLONG CounterTicksPerMs() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart / 1000 > 0 ? frequency.QuadPart / 1000 : 1;
}

}  // namespace

void Application::ProcessMessagesWhenDue() {
  static const LONGLONG interval = kMessageIntervalMs * CounterTicksPerMs();
  if (CounterNow() - lastProcessed_ >= interval) ProcessMessages();
}

void Application::ProcessMessages() {
  lastProcessed_ = CounterNow();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      // Leave the quit for the loop that owns it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchOne(msg);
  }
}

bool Application::DispatchOne(MSG& msg) {
  // Keyboard navigation (Tab, arrows, mnemonics) inside our own forms.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  char className[32] = {};
  if (root && GetClassNameA(root, className, sizeof(className)) &&
      lstrcmpA(className, Form::ClassName()) == 0 && IsDialogMessageA(root, &msg)) {
    return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void Application::ShowException(const std::exception& error) {
  std::string text = error.what();
  if (!text.empty() && text.back() != '.') text += '.';
  ShowErrorBox(text);
}

void Application::FormClosed(Form& form) {
  if (&form != mainForm_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

}  // namespace win
