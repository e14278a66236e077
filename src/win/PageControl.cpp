#include "win/PageControl.h"

#include "win/Form.h"

namespace win {

namespace {

// The frame is the tab control's display area without the tabs: a raised
// two-pixel edge, with the page inset by four pixels on every side.
constexpr int kPageInset = 4;

}  // namespace

void PageControl::Create(Container& parent, const Args& args) {
  CreateContainer(parent, args.bounds);
  if (OwnerForm()) OwnerForm()->AddPageControl(*this);
}

void PageControl::AddPage(Page& page) {
  RECT client;
  GetClientRect(Handle(), &client);
  Bounds inset{kPageInset, kPageInset, 0, 0};
  Bounds scaled = Scale(inset);
  page.index_ = static_cast<int>(pages_.size());
  page.CreateContainer(*this, {0, 0, 0, 0});
  SetWindowPos(page.Handle(), nullptr, scaled.left, scaled.top, client.right - 2 * scaled.left,
               client.bottom - 2 * scaled.top, SWP_NOZORDER | SWP_NOACTIVATE);
  pages_.push_back(&page);
  if (!active_) {
    active_ = &page;
  } else {
    page.SetVisible(false);
  }
}

void PageControl::SetActivePage(Page& page) {
  if (active_ == &page) return;
  Page* previous = active_;
  active_ = &page;
  // Focus in a page that is hidden would leave the keyboard nowhere.
  HWND focus = GetFocus();
  bool focusInPrevious = previous && focus && IsChild(previous->Handle(), focus);
  page.SetVisible(true);
  if (previous) previous->SetVisible(false);
  if (focusInPrevious)
    ::SetFocus(GetNextDlgTabItem(GetAncestor(Handle(), GA_ROOT), nullptr, FALSE));
  RunShowHandler(page);
}

void PageControl::ParentShown() {
  if (active_) RunShowHandler(*active_);
}

void PageControl::RunShowHandler(Page& page) {
  if (page.onShow) Guarded(page.onShow);
}

void PageControl::Paint(HDC dc, const RECT& client) {
  RECT rc = client;
  DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
}

}  // namespace win
