#include "win/StandardControls.h"

#include "win/Form.h"

namespace win {

// --- Label -----------------------------------------------------------------

void Label::Create(Container& parent, const Args& args) {
  autoSize_ = args.autoSize;
  SetBackground(args.background);
  SetFontColor(args.fontColor);
  // Folder names shown in a label may hold '&': no mnemonic processing.
  DWORD style = WS_VISIBLE | SS_NOPREFIX | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
  CreateChild(parent, "STATIC", style, 0, args.bounds, args.caption);
  FitToText();
}

void Label::TextChanged() { FitToText(); }

void Label::FitToText() {
  if (!autoSize_) return;
  std::string text = Text();
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, OwnerForm()->Font());
  RECT rc{0, 0, 0, 0};
  // An empty caption keeps the height of one line, as a label does.
  DrawTextA(dc, text.empty() ? " " : text.c_str(), text.empty() ? 1 : -1, &rc,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  if (text.empty()) rc.right = 0;
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);

  RECT now;
  GetWindowRect(Handle(), &now);
  if (now.right - now.left == rc.right && now.bottom - now.top == rc.bottom) return;
  // The parent repaints what a shrinking label uncovers.
  SetWindowPos(Handle(), nullptr, 0, 0, rc.right, rc.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
