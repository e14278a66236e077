// Replacing the procedure of a window the system's own class created, so a
// few of its messages can be answered here and the rest passed on.
#pragma once

#include <windows.h>

namespace win {

// Puts proc in front of the window's procedure. The original is kept in a
// window property named key and put back when the window is destroyed.
void SubclassWindow(HWND hwnd, const char* key, WNDPROC proc);

// Passes a message on to the procedure SubclassWindow replaced; call it from
// proc for every message proc does not answer itself.
LRESULT CallOriginalProc(const char* key, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win
