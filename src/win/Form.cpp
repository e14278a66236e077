#include "win/Form.h"

#include <algorithm>

#include "win/Application.h"
#include "win/PageControl.h"

namespace win {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

UniqueFont CreateLayoutFont(const std::string& name, int points) {
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(points, SystemDpi(), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, name.c_str(), LF_FACESIZE);
  return UniqueFont(CreateFontIndirectA(&lf));
}

}  // namespace

const char* Form::ClassName() { return "QuorletForm"; }

void Form::RegisterClass(HINSTANCE module) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &Container::WindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = ClassName();
  RegisterClassExA(&wc);
}

Form::~Form() {
  for (Timer* timer : timers_) KillTimer(Handle(), timer->Id());
  if (icon_) DestroyIcon(icon_);
}

void Form::CreateForm(const Args& args) {
  font_ = CreateLayoutFont(args.fontName, args.fontPoints);
  RECT rc{0, 0, Scale(args.clientWidth), Scale(args.clientHeight)};
  AdjustWindowRectEx(&rc, kFormStyle, FALSE, kFormExStyle);
  HWND hwnd =
      CreateWindowExA(kFormExStyle, ClassName(), args.caption.c_str(), kFormStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                      Application::Instance().Module(), static_cast<Control*>(this));
  Adopt(hwnd, this);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (args.iconResource) {
    icon_ = static_cast<HICON>(LoadImageA(Application::Instance().Module(), args.iconResource,
                                          IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  // A fixed dialog frame: the system menu offers only Move and Close.
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  for (UINT item : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
    DeleteMenu(menu, item, MF_BYCOMMAND);
}

void Form::Show() {
  if (!shown_) CentreOnScreen();
  ShowWindow(Handle(), SW_SHOW);
  if (!shown_) {
    shown_ = true;
    for (PageControl* pages : pageControls_) pages->ParentShown();
  }
  UpdateWindow(Handle());
}

void Form::CentreOnScreen() {
  RECT rc;
  GetWindowRect(Handle(), &rc);
  int width = rc.right - rc.left;
  int height = rc.bottom - rc.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Close() {
  if (closed_) return;
  bool canClose = true;
  OnCloseQuery(canClose);
  if (!canClose) return;
  closed_ = true;
  // A closed window starts no further job, whatever runs the loop now.
  for (Timer* timer : timers_) timer->SetEnabled(false);
  ShowWindow(Handle(), SW_HIDE);
  Application::Instance().FormClosed(*this);
}

void Form::AddPageControl(PageControl& pages) { pageControls_.push_back(&pages); }

void Form::AddTimer(Timer& timer) { timers_.push_back(&timer); }

void Form::RemoveTimer(Timer& timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

bool Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return true;
    case WM_ACTIVATE:
      // As a dialog does: the focus leaves with the window and comes back to
      // the same control, so the keyboard goes on where it was.
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus();
      } else if (!HIWORD(wParam)) {
        RestoreFocus();
      }
      result = 0;
      return true;
    case WM_NEXTDLGCTL: {
      // The dialog manager moves the focus this way, for the mnemonic of a
      // prompt say; a plain window would ignore it.
      HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
      if (next) {
        ::SetFocus(next);
        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
          SendMessageA(next, EM_SETSEL, 0, -1);
        }
      }
      result = 0;
      return true;
    }
    case WM_TIMER:
      for (Timer* timer : timers_) {
        if (timer->Id() == wParam) {
          timer->Tick();
          return true;
        }
      }
      return false;
    default:
      return Container::HandleMessage(message, wParam, lParam, result);
  }
}

void Form::RememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
}

void Form::RestoreFocus() {
  HWND target = lastFocus_;
  // A control hidden or disabled meanwhile (a page turned) gives way to the
  // first one the Tab key reaches.
  if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
    target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
  }
  ::SetFocus(target ? target : Handle());
}

// --- Timer -----------------------------------------------------------------

Timer::~Timer() {
  if (form_) {
    if (enabled_) KillTimer(form_->Handle(), Id());
    form_->RemoveTimer(*this);
  }
}

void Timer::Create(Form& form, const Args& args) {
  form_ = &form;
  interval_ = args.interval;
  form.AddTimer(*this);
  SetEnabled(args.enabled);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (enabled) {
    SetTimer(form_->Handle(), Id(), interval_, nullptr);
  } else {
    KillTimer(form_->Handle(), Id());
  }
}

void Timer::Tick() {
  if (enabled_ && onTimer) onTimer();
}

}  // namespace win
