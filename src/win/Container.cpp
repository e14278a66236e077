#include "win/Container.h"

#include "win/Application.h"
#include "win/Form.h"

namespace win {

const char* Container::ClassName() { return "QuorletContainer"; }

void Container::RegisterClass(HINSTANCE module) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &Container::WindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = ClassName();
  RegisterClassExA(&wc);
}

void Container::CreateContainer(Container& parent, const Bounds& bounds, DWORD style,
                                DWORD exStyle) {
  CreateChild(parent, ClassName(), style | WS_VISIBLE | WS_CLIPCHILDREN,
              exStyle | WS_EX_CONTROLPARENT, bounds, "");
}

LRESULT CALLBACK Container::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<Container*>(static_cast<Control*>(create->lpCreateParams));
    if (self) self->Adopt(hwnd, self->OwnerForm());
  }
  auto* self = static_cast<Container*>(FromHandle(hwnd));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  bool handled = false;
  Guarded([&] { handled = self->HandleMessage(message, wParam, lParam, result); });
  return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT Container::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(Handle(), message, wParam, lParam);
}

bool Container::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(Handle(), &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, BackgroundBrush());
      result = 1;
      return true;
    }
    case WM_PAINT:
      PaintWindow();
      return true;
    default:
      return RouteToChild(message, wParam, lParam, result);
  }
}

bool Container::RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      Control* child = FromHandle(reinterpret_cast<HWND>(lParam));
      if (!child || !lParam) return false;
      child->HandleCommand(HIWORD(wParam));
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      Control* child = FromHandle(reinterpret_cast<HWND>(lParam));
      HBRUSH brush = child ? child->HandleCtlColor(reinterpret_cast<HDC>(wParam)) : nullptr;
      if (!brush) return false;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    default:
      return false;
  }
}

void Container::PaintWindow() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  HGDIOBJ oldFont = nullptr;
  if (OwnerForm()) oldFont = SelectObject(dc, OwnerForm()->Font());
  Paint(dc, client);
  if (oldFont) SelectObject(dc, oldFont);
  EndPaint(Handle(), &ps);
}

// --- Panel -----------------------------------------------------------------

namespace {

UINT EdgeFlags(Panel::Bevel bevel, bool outer) {
  if (bevel == Panel::Bevel::Lowered) return outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
  if (bevel == Panel::Bevel::Raised) return outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
  return 0;
}

}  // namespace

void Panel::Create(Container& parent, const Args& args) {
  outer_ = args.outer;
  inner_ = args.inner;
  SetBackground(args.background);
  CreateContainer(parent, args.bounds);
}

void Panel::Paint(HDC dc, const RECT& client) {
  // Each bevel is one pixel wide, as the classic panels are, at any DPI.
  RECT rc = client;
  if (UINT outer = EdgeFlags(outer_, true)) {
    DrawEdge(dc, &rc, outer, BF_RECT);
    InflateRect(&rc, -1, -1);
  }
  if (UINT inner = EdgeFlags(inner_, false)) DrawEdge(dc, &rc, inner, BF_RECT);
}

// --- GroupBox --------------------------------------------------------------

void GroupBox::Create(Container& parent, const Args& args) {
  CreateContainer(parent, args.bounds);
  SetText(args.caption);
}

void GroupBox::TextChanged() { InvalidateRect(Handle(), nullptr, TRUE); }

bool GroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_ENABLE) {
    InvalidateRect(Handle(), nullptr, TRUE);
    return false;
  }
  return Container::HandleMessage(message, wParam, lParam, result);
}

void GroupBox::Paint(HDC dc, const RECT& client) {
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  RECT frame = client;
  frame.top = tm.tmHeight / 2 - 1;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

  std::string caption = Text();
  if (caption.empty()) return;
  RECT text{Scale(8), 0, client.right, tm.tmHeight};
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  SetTextColor(dc, FontColor().Resolve());
  SetBkColor(dc, Background().Resolve());
  SetBkMode(dc, OPAQUE);
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_SINGLELINE | DT_NOPREFIX);
}

// --- Image -----------------------------------------------------------------

void Image::Create(Container& parent, const Args& args) {
  SetBackground(args.background);
  CreateContainer(parent, args.bounds);
}

bool Image::LoadBitmapResource(const char* name) {
  bitmap_.reset(static_cast<HBITMAP>(
      LoadImageA(Application::Instance().Module(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  InvalidateRect(Handle(), nullptr, TRUE);
  return static_cast<bool>(bitmap_);
}

void Image::Paint(HDC dc, const RECT& client) {
  if (!bitmap_) return;
  BITMAP bm{};
  GetObjectA(bitmap_.get(), sizeof(bm), &bm);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap_.get());
  int x = (client.right - bm.bmWidth) / 2;
  int y = (client.bottom - bm.bmHeight) / 2;
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace win
