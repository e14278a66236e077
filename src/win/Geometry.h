// Layout geometry: every position is written in pixels at 96 DPI and scaled
// to the screen's DPI when a control is created.
#pragma once

#include <windows.h>

namespace win {

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The DPI the system renders at (the manifest declares system awareness).
int SystemDpi();

// Pixels at 96 DPI to pixels at the system DPI.
int Scale(int pixels);
Bounds Scale(const Bounds& bounds);

}  // namespace win
