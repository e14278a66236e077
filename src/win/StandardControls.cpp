#include "win/StandardControls.h"

#include "win/Form.h"
#include "win/Subclass.h"

namespace win {

// --- Label -----------------------------------------------------------------

namespace {

const char kStaticProc[] = "QuorletLabelProc";
// Posted to a label whose text changed, so it fits itself to the text once,
// however often the text changed before messages were processed.
constexpr UINT kFitToText = WM_APP + 0x10;

}  // namespace

void Label::Create(Container& parent, const Args& args) {
  autoSize_ = args.autoSize;
  SetBackground(args.background);
  SetFontColor(args.fontColor);
  // Folder names shown in a label may hold '&': no mnemonic processing.
  DWORD style = WS_VISIBLE | SS_NOPREFIX | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
  CreateChild(parent, "STATIC", style, 0, args.bounds, args.caption);
  SubclassWindow(Handle(), kStaticProc, &Label::WindowProc);
  FitToText();
}

LRESULT CALLBACK Label::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<Label*>(FromHandle(hwnd));
  if (self && message == WM_SETTEXT) return self->StoreText(wParam, lParam);
  if (self && message == kFitToText) {
    self->fitPending_ = false;
    self->FitToText();
    return 0;
  }
  return CallOriginalProc(kStaticProc, hwnd, message, wParam, lParam);
}

// The system's label paints a new text at once. Here it is painted with the
// next messages, as any other change of a window is: a label given a new
// folder name hundreds of times a second would otherwise spend the walk
// painting names no one can read.
LRESULT Label::StoreText(WPARAM wParam, LPARAM lParam) {
  LRESULT stored = DefWindowProcA(Handle(), WM_SETTEXT, wParam, lParam);
  // While a fit is pending, the label is still invalid from the text that
  // asked for it: the paint that follows the fit shows the latest text.
  if (!fitPending_) InvalidateRect(Handle(), nullptr, TRUE);
  return stored;
}

// Resizing goes the same way: once, when messages are next processed.
void Label::TextChanged() {
  if (!autoSize_ || fitPending_) return;
  fitPending_ = PostMessageA(Handle(), kFitToText, 0, 0) != FALSE;
  if (!fitPending_) FitToText();
}

void Label::FitToText() {
  if (!autoSize_) return;
  SIZE size = MeasureText(Text());
  RECT now;
  GetWindowRect(Handle(), &now);
  if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) return;
  // The parent repaints what a shrinking label uncovers.
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Label::MeasureText(const std::string& text) {
  if (!measureDc_) measureDc_.reset(CreateCompatibleDC(nullptr));
  HDC dc = measureDc_.get();
  HGDIOBJ old = SelectObject(dc, OwnerForm()->Font());
  RECT rc{0, 0, 0, 0};
  // An empty caption keeps the height of one line, as a label does.
  DrawTextA(dc, text.empty() ? " " : text.c_str(), text.empty() ? 1 : -1, &rc,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  if (text.empty()) rc.right = 0;
  SelectObject(dc, old);
  return {rc.right, rc.bottom};
}

// --- Button ----------------------------------------------------------------

void Button::Create(Container& parent, const Args& args) {
  CreateChild(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, args.bounds,
              args.caption);
  SetTag(args.tag);
}

void Button::HandleCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

// --- CheckBox --------------------------------------------------------------

void CheckBox::Create(Container& parent, const Args& args) {
  CreateChild(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, args.bounds,
              args.caption);
  SetChecked(args.checked);
}

bool CheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- Edit ------------------------------------------------------------------

void Edit::Create(Container& parent, const Args& args) {
  CreateChild(parent, "EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
              args.bounds, args.text);
}

// --- Memo ------------------------------------------------------------------

void Memo::Create(Container& parent, const Args& args) {
  CreateChild(parent, "EDIT", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, 0,
              args.bounds, args.text);
}

void Memo::Clear() { SetText(""); }

void Memo::AddLine(const std::string& line) {
  std::string text = line + "\r\n";
  LRESULT end = SendMessageA(Handle(), WM_GETTEXTLENGTH, 0, 0);
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace win
