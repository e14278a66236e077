#include "win/MessageBox.h"

#include <windows.h>

#include "win/Subclass.h"

namespace win {

namespace {

const char kOriginalProc[] = "QuorletBoxProc";

// A Yes/No box has no Cancel button, so the system ignores Escape (or ends
// the box with IDCANCEL); both are turned into No here.
LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && GetDlgItem(hwnd, IDNO)) {
    wParam = MAKEWPARAM(IDNO, BN_CLICKED);
    lParam = reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDNO));
  }
  return CallOriginalProc(kOriginalProc, hwnd, message, wParam, lParam);
}

void CentreOnScreen(HWND box) {
  RECT rc;
  GetWindowRect(box, &rc);
  int x = (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2;
  SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The hook lives for one MessageBox call on this thread: it catches the box
// as it is activated, centres it and takes over Escape.
class BoxHook {
 public:
  BoxHook() {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, &BoxHook::Proc, nullptr, GetCurrentThreadId());
  }
  BoxHook(const BoxHook&) = delete;
  BoxHook& operator=(const BoxHook&) = delete;
  ~BoxHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = previous_;
  }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    BoxHook* self = current_;
    if (code == HCBT_ACTIVATE && self && !self->done_) {
      auto box = reinterpret_cast<HWND>(wParam);
      char className[16] = {};
      GetClassNameA(box, className, sizeof(className));
      if (lstrcmpA(className, "#32770") == 0) {
        self->done_ = true;
        CentreOnScreen(box);
        SubclassWindow(box, kOriginalProc, &BoxProc);
      }
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
  }

  // Boxes can nest (a box shown from a handler that runs under another box);
  // each hook call serves the innermost one.
  static thread_local BoxHook* current_;
  BoxHook* previous_ = current_;
  HHOOK hook_ = nullptr;
  bool done_ = false;
};

thread_local BoxHook* BoxHook::current_ = nullptr;

int ShowBox(const std::string& text, const char* title, UINT flags) {
  BoxHook hook;
  // Owned by the active window of this thread, so that window is disabled
  // while the box is open.
  return MessageBoxA(GetActiveWindow(), text.c_str(), title, flags);
}

}  // namespace

void ShowErrorBox(const std::string& text) { ShowBox(text, "Error", MB_OK | MB_ICONERROR); }

Answer ShowConfirmBox(const std::string& text) {
  int pressed = ShowBox(text, "Confirm", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
  return pressed == IDYES ? Answer::Yes : Answer::No;
}

}  // namespace win
