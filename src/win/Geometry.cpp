#include "win/Geometry.h"

namespace win {

namespace {

int ReadScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int SystemDpi() {
  // A system-DPI-aware process sees one DPI for its whole life.
  static const int dpi = ReadScreenDpi();
  return dpi;
}

int Scale(int pixels) { return MulDiv(pixels, SystemDpi(), 96); }

Bounds Scale(const Bounds& b) {
  int dpi = SystemDpi();
  return {MulDiv(b.left, dpi, 96), MulDiv(b.top, dpi, 96), MulDiv(b.width, dpi, 96),
          MulDiv(b.height, dpi, 96)};
}

}  // namespace win
