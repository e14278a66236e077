// Windows of the layer's own class: they hold other controls, paint their own
// background and frame, and route their children's notifications back to the
// children's wrappers.
#pragma once

#include <string>

#include "win/Control.h"

namespace win {

class Container : public Control {
 public:
  // The registered window class every container uses.
  static const char* ClassName();
  static void RegisterClass(HINSTANCE module);

 protected:
  void CreateContainer(Container& parent, const Bounds& bounds, DWORD style = 0, DWORD exStyle = 0);
  // Each handler returns true when it handled the message.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  friend class Form;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void PaintWindow();
};

// A panel: a background and an optional bevel of outer and inner edges.
class Panel : public Container {
 public:
  enum class Bevel { None, Lowered, Raised };
  struct Args {
    Bounds bounds;
    Color background = Color::System(COLOR_BTNFACE);
    Bevel outer = Bevel::Raised;
    Bevel inner = Bevel::None;
  };
  void Create(Container& parent, const Args& args);

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  Bevel outer_ = Bevel::Raised;
  Bevel inner_ = Bevel::None;
};

// A group frame with a caption drawn in the control's font colour. The frame
// is drawn here, not by the system's group box, so that the caption colour
// shows whatever the theme.
class GroupBox : public Container {
 public:
  struct Args {
    Bounds bounds;
    std::string caption;
  };
  void Create(Container& parent, const Args& args);

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void TextChanged() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A bitmap shown centred and unscaled on the parent's background.
class Image : public Container {
 public:
  struct Args {
    Bounds bounds;
    Color background = Color::System(COLOR_BTNFACE);
  };
  void Create(Container& parent, const Args& args);
  // Loads a bitmap resource of the executable; false if there is none.
  bool LoadBitmapResource(const char* name);
  HBITMAP Bitmap() const { return bitmap_.get(); }

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  UniqueBitmap bitmap_;
};

}  // namespace win
