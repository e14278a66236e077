#include "win/Control.h"

#include "win/Application.h"
#include "win/Container.h"
#include "win/Form.h"

namespace win {

Control::~Control() {
  if (hwnd_) SetWindowLongPtrA(hwnd_.get(), GWLP_USERDATA, 0);
  // A child whose parent went first is gone already; only a live window is
  // destroyed here.
  if (hwnd_ && !IsWindow(hwnd_.get())) hwnd_.release();
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd ? reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

void Control::CreateChild(Container& parent, const char* className, DWORD style, DWORD exStyle,
                          const Bounds& bounds, const std::string& text) {
  Bounds b = Scale(bounds);
  form_ = parent.OwnerForm();
  HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS,
                              b.left, b.top, b.width, b.height, parent.Handle(), nullptr,
                              Application::Instance().Module(), this);
  Adopt(hwnd, form_);
  if (form_) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(form_->Font()), FALSE);
}

void Control::Adopt(HWND hwnd, Form* form) {
  if (form) form_ = form;
  if (hwnd_.get() == hwnd) return;
  hwnd_.reset(hwnd);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Control::SetText(const std::string& text) {
  SetWindowTextA(Handle(), text.c_str());
  TextChanged();
}

std::string Control::Text() const {
  int len = GetWindowTextLengthA(Handle());
  std::string text(static_cast<size_t>(len) + 1, '\0');
  len = GetWindowTextA(Handle(), text.data(), len + 1);
  text.resize(static_cast<size_t>(len > 0 ? len : 0));
  return text;
}

void Control::SetVisible(bool visible) {
  if (Visible() != visible) ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::Visible() const { return (GetWindowLongPtrA(Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled); }

bool Control::Enabled() const { return IsWindowEnabled(Handle()) != FALSE; }

void Control::SetFocus() { ::SetFocus(Handle()); }

void Control::SetFontColor(Color color) {
  if (fontColor_ == color) return;
  fontColor_ = color;
  InvalidateRect(Handle(), nullptr, TRUE);
}

void Control::SetBackground(Color color) {
  background_ = color;
  InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH Control::BackgroundBrush() {
  COLORREF rgb = background_.Resolve();
  if (!brush_ || brushColor_ != rgb) {
    brush_.reset(CreateSolidBrush(rgb));
    brushColor_ = rgb;
  }
  return brush_.get();
}

HBRUSH Control::HandleCtlColor(HDC dc) {
  SetTextColor(dc, fontColor_.Resolve());
  SetBkColor(dc, background_.Resolve());
  return BackgroundBrush();
}

void Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    Application::Instance().ShowException(e);
  }
}

}  // namespace win
