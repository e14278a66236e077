// A page control whose tabs are hidden: the program alone picks the page.
#pragma once

#include <functional>
#include <vector>

#include "win/Container.h"

namespace win {

class PageControl;

class Page : public Container {
 public:
  // Runs each time the page becomes visible.
  std::function<void()> onShow;
  int PageIndex() const { return index_; }

 private:
  friend class PageControl;
  int index_ = -1;
};

class PageControl : public Container {
 public:
  struct Args {
    Bounds bounds;
  };
  void Create(Container& parent, const Args& args);
  // Adds a page; the first page added is the active one.
  void AddPage(Page& page);

  Page* ActivePage() const { return active_; }
  int ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }
  // Makes page the active page and runs its show handler before returning.
  // Making the active page active again does nothing.
  void SetActivePage(Page& page);
  // The owning form calls this when it is first shown.
  void ParentShown();

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  static void RunShowHandler(Page& page);
  std::vector<Page*> pages_;
  Page* active_ = nullptr;
};

}  // namespace win
