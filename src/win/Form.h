// A top-level dialog window with a fixed border, and the timer it drives.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win/Container.h"

namespace win {

class PageControl;
class Timer;

class Form : public Container {
 public:
  struct Args {
    int clientWidth = 0;   // at 96 DPI
    int clientHeight = 0;  // at 96 DPI
    std::string caption;
    std::string fontName = "MS Sans Serif";
    int fontPoints = 8;
    const char* iconResource = nullptr;
  };
  static const char* ClassName();
  static void RegisterClass(HINSTANCE module);

  Form() = default;
  ~Form() override;

  // Centres the window on the screen and shows it; the first time, the
  // active page of every page control runs its show handler.
  void Show();
  // The close request: asks OnCloseQuery, and closes only when it allows it.
  void Close();
  bool Closed() const { return closed_; }
  HFONT Font() const { return font_.get(); }

  void AddPageControl(PageControl& pages);
  void AddTimer(Timer& timer);
  void RemoveTimer(Timer& timer);

 protected:
  void CreateForm(const Args& args);
  // canClose comes in true; the window closes only if it is still true.
  virtual void OnCloseQuery(bool& canClose) { canClose = true; }
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CentreOnScreen();
  void RememberFocus();
  void RestoreFocus();

  UniqueFont font_;
  // The control that had the focus when the window was last deactivated.
  HWND lastFocus_ = nullptr;
  HICON icon_ = nullptr;
  bool shown_ = false;
  bool closed_ = false;
  std::vector<PageControl*> pageControls_;
  std::vector<Timer*> timers_;
};

// A timer on the owning form's window: each tick runs onTimer while enabled.
class Timer {
 public:
  struct Args {
    UINT interval = 1000;
    bool enabled = true;
  };
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  void Create(Form& form, const Args& args);
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  UINT Interval() const { return interval_; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }

  std::function<void()> onTimer;
  void Tick();

 private:
  Form* form_ = nullptr;
  UINT interval_ = 1000;
  bool enabled_ = false;
  int tag_ = 0;
};

}  // namespace win
