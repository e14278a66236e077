// Wrappers over the system's own control classes.
#pragma once

#include <functional>
#include <string>

#include "win/Container.h"

namespace win {

class Label : public Control {
 public:
  struct Args {
    Bounds bounds;  // width and height are ignored when autoSize is set
    std::string caption;
    bool autoSize = true;
    bool wordWrap = false;
    Color background = Color::System(COLOR_BTNFACE);
    Color fontColor = Color::System(COLOR_WINDOWTEXT);
  };
  void Create(Container& parent, const Args& args);

 protected:
  void TextChanged() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT StoreText(WPARAM wParam, LPARAM lParam);
  void FitToText();
  SIZE MeasureText(const std::string& text);
  bool autoSize_ = true;
  bool fitPending_ = false;
  // Measuring on a DC of its own takes no window DC from the system.
  UniqueMemoryDc measureDc_;
};

class Button : public Control {
 public:
  struct Args {
    Bounds bounds;
    std::string caption;
    int tag = 0;
  };
  void Create(Container& parent, const Args& args);
  std::function<void()> onClick;
  void HandleCommand(WORD code) override;
  HBRUSH HandleCtlColor(HDC) override { return nullptr; }
};

class CheckBox : public Control {
 public:
  struct Args {
    Bounds bounds;
    std::string caption;
    bool checked = false;
  };
  void Create(Container& parent, const Args& args);
  bool Checked() const;
  void SetChecked(bool checked);
};

// A single-line edit field with a sunken border.
class Edit : public Control {
 public:
  struct Args {
    Bounds bounds;
    std::string text;
  };
  void Create(Container& parent, const Args& args);
  HBRUSH HandleCtlColor(HDC) override { return nullptr; }
};

// A multi-line text field without border that wraps its words.
class Memo : public Control {
 public:
  struct Args {
    Bounds bounds;
    std::string text;
  };
  void Create(Container& parent, const Args& args);
  void Clear();
  // Appends a line; every line ends in CR LF, as lines of a list do.
  void AddLine(const std::string& line);
};

}  // namespace win
