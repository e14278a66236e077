// The thin window layer: one small wrapper per kind of control, each created
// from the parent it lives in and its place in the layout. A wrapper owns its
// HWND; the parent routes notifications back to the wrapper.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Geometry.h"
#include "win/Handles.h"

namespace win {

class Container;
class Form;

// A colour that is either fixed or one of the system colours, so that a
// system colour follows a change of the user's scheme.
struct Color {
  static Color System(int index) { return {true, static_cast<COLORREF>(index)}; }
  static Color Rgb(COLORREF rgb) { return {false, rgb}; }
  COLORREF Resolve() const { return system ? GetSysColor(static_cast<int>(value)) : value; }
  bool operator==(const Color& o) const { return system == o.system && value == o.value; }

  bool system = true;
  COLORREF value = COLOR_BTNFACE;
};

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND Handle() const { return hwnd_.get(); }
  Form* OwnerForm() const { return form_; }
  static Control* FromHandle(HWND hwnd);

  void SetText(const std::string& text);
  std::string Text() const;
  void SetVisible(bool visible);
  bool Visible() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetFocus();
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  void SetFontColor(Color color);
  Color FontColor() const { return fontColor_; }
  void SetBackground(Color color);
  Color Background() const { return background_; }

  // Notifications the parent forwards to the control they concern.
  virtual void HandleCommand(WORD /*code*/) {}
  virtual HBRUSH HandleCtlColor(HDC dc);

 protected:
  // Creates the window as a child of parent, at bounds given at 96 DPI.
  void CreateChild(Container& parent, const char* className, DWORD style, DWORD exStyle,
                   const Bounds& bounds, const std::string& text);
  void Adopt(HWND hwnd, Form* form);
  virtual void TextChanged() {}
  HBRUSH BackgroundBrush();

 private:
  UniqueWindow hwnd_;
  Form* form_ = nullptr;
  int tag_ = 0;
  Color fontColor_ = Color::System(COLOR_WINDOWTEXT);
  Color background_ = Color::System(COLOR_BTNFACE);
  UniqueBrush brush_;
  COLORREF brushColor_ = CLR_INVALID;
};

// Runs a handler and shows what it raises in the application's default
// exception display, so no C++ exception crosses a window procedure.
void Guarded(const std::function<void()>& handler);

}  // namespace win
