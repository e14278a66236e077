// Drives the installer's window from outside, as a person would: it finds
// the window, reads its controls, clicks buttons and answers message boxes.
// Each run does one step; scripts chain the steps.
//
//   Driver wait-window TITLE SECONDS      wait until a top-level window exists
//   Driver wait-gone TITLE SECONDS        wait until it has gone
//   Driver dump TITLE                     list the window's controls
//   Driver click TITLE CAPTION            click the visible button CAPTION
//   Driver answer BOXTITLE BUTTON SECONDS wait for a message box, print its
//                                         text, press BUTTON (Yes, No, OK)
//   Driver wait-visible TITLE CAPTION SECONDS
//
// Exit code 0 on success, 1 when the step could not be done.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Text(HWND hwnd) {
  char text[2048] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &ignored);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

// Polls f every 100 ms until it returns a window or the time is up.
template <typename F>
HWND WaitFor(F f, int seconds) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND hwnd = f()) return hwnd;
    if (GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) return nullptr;
    Sleep(100);
  }
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// Callbacks are stdcall on i686, which a lambda cannot be.
std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

HWND FindControl(HWND window, const std::string& caption) {
  for (HWND child : Descendants(window)) {
    if (IsWindowVisible(child) && Text(child) == caption) return child;
  }
  return nullptr;
}

HWND FindBox(const std::string& title) {
  HWND box = nullptr;
  while ((box = FindWindowExA(nullptr, box, "#32770", title.c_str()))) {
    if (IsWindowVisible(box)) return box;
  }
  return nullptr;
}

int Dump(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  std::printf("window \"%s\" client %ldx%ld\n", Text(window).c_str(), client.right, client.bottom);
  for (HWND child : Descendants(window)) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    bool checked =
        ClassOf(child) == "Button" && SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
    std::printf("%-18s %-8s %-8s %-9s %4ld,%4ld %4ldx%-4ld \"%s\"\n", ClassOf(child).c_str(),
                IsWindowVisible(child) ? "visible" : "hidden",
                IsWindowEnabled(child) ? "enabled" : "disabled", checked ? "checked" : "-", rc.left,
                rc.top, rc.right - rc.left, rc.bottom - rc.top, Text(child).c_str());
  }
  return 0;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "driver: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Fail("usage: see the head of Driver.cpp");
  const std::string& step = args[0];
  const std::string& title = args[1];
  auto seconds = [&](size_t i) { return args.size() > i ? std::atoi(args[i].c_str()) : 30; };
  auto window = [&] { return FindWindowA(nullptr, title.c_str()); };

  if (step == "wait-window") {
    return WaitFor(window, seconds(2)) ? 0 : Fail("no window \"" + title + "\"");
  }
  if (step == "wait-gone") {
    HWND gone =
        WaitFor([&]() -> HWND { return window() ? nullptr : GetDesktopWindow(); }, seconds(2));
    return gone ? 0 : Fail("window \"" + title + "\" is still there");
  }
  if (step == "answer") {
    if (args.size() < 3) return Fail("answer needs a button");
    HWND box = WaitFor([&] { return FindBox(title); }, seconds(3));
    if (!box) return Fail("no message box \"" + title + "\"");
    Sleep(200);
    std::printf("%s\n", Text(GetDlgItem(box, 0xFFFF)).c_str());
    int id = args[2] == "Yes" ? IDYES : args[2] == "No" ? IDNO : IDOK;
    HWND button = GetDlgItem(box, id);
    if (!button) return Fail("the box has no " + args[2] + " button");
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
  }

  HWND main = window();
  if (!main) return Fail("no window \"" + title + "\"");
  if (step == "dump") return Dump(main);
  if (step == "click" && args.size() >= 3) {
    HWND button = FindControl(main, args[2]);
    if (!button) return Fail("no visible control \"" + args[2] + "\"");
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
  }
  if (step == "wait-visible" && args.size() >= 3) {
    return WaitFor([&] { return FindControl(main, args[2]); }, seconds(3))
               ? 0
               : Fail("\"" + args[2] + "\" did not show");
  }
  return Fail("unknown step " + step);
}
