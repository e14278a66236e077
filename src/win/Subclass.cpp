#include "win/Subclass.h"

namespace win {

void SubclassWindow(HWND hwnd, const char* key, WNDPROC proc) {
  SetPropA(hwnd, key, reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

LRESULT CallOriginalProc(const char* key, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetPropA(hwnd, key));
  if (!original) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(hwnd, key);
  }
  return CallWindowProcA(original, hwnd, message, wParam, lParam);
}

}  // namespace win
