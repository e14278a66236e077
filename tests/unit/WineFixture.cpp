#include "WineFixture.h"

#include <algorithm>

#include "win/Application.h"

namespace fixture {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return done();
    win::Application::Instance().ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(int milliseconds) {
  DWORD start = GetTickCount();
  PumpUntil([&] { return static_cast<int>(GetTickCount() - start) >= milliseconds; },
            milliseconds + 1000);
}

void Click(win::Control& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }

// --- BoxAnswerer -----------------------------------------------------------

namespace {

struct BoxSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<BoxSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof(cls));
  if (pid == search->process && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::string WindowText(HWND hwnd) {
  char text[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &ignored);
  return text;
}

}  // namespace

BoxAnswerer::BoxAnswerer(Press press, int timeoutMs)
    : thread_([this, press, timeoutMs] { Watch(press, timeoutMs); }) {}

BoxAnswerer::~BoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

bool BoxAnswerer::Answered() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

bool BoxAnswerer::HasButton(int id) const {
  return std::find(buttons_.begin(), buttons_.end(), id) != buttons_.end();
}

void BoxAnswerer::PressButton(HWND box, Press press) {
  switch (press) {
    case Press::Ok:
      PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      break;
    case Press::Yes:
      PostMessageA(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
      break;
    case Press::No:
      PostMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
      break;
    case Press::Escape: {
      // As the keyboard does it: the key goes to the focused control and the
      // box's own dialog loop turns it into a command.
      HWND focus = GetDlgItem(box, IDYES);
      PostMessageA(focus ? focus : box, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageA(focus ? focus : box, WM_KEYUP, VK_ESCAPE, 0xC0010001);
      break;
    }
  }
}

void BoxAnswerer::Watch(Press press, int timeoutMs) {
  DWORD start = GetTickCount();
  BoxSearch search{process_, nullptr};
  while (!search.found) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return;
    Sleep(20);
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
  }
  HWND box = search.found;
  // Let the box finish its set-up (centring, default button) first.
  Sleep(150);
  title_ = WindowText(box);
  text_ = WindowText(GetDlgItem(box, 0xFFFF));
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (!button) continue;
    buttons_.push_back(id);
    // The default button is the one drawn as default, which Enter presses.
    if ((GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) defaultButton_ = id;
  }
  GetWindowRect(box, &bounds_);
  HWND owner = GetWindow(box, GW_OWNER);
  ownerDisabled_ = owner && !IsWindowEnabled(owner);

  // Pressed again until the box has gone: a click that reaches the box
  // while it is still being set up can be lost under load.
  for (int attempt = 0; attempt < 20 && IsWindow(box); ++attempt) {
    PressButton(box, press);
    Sleep(500);
  }
  answered_ = true;
}

// --- HostProcess -----------------------------------------------------------

HostProcess::HostProcess(const std::string& variant, const char* windowClass) {
  std::string path = "C:\\fixtures\\host-" + variant + ".exe";
  std::string commandLine = "\"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info_)) {
    return;
  }
  DWORD start = GetTickCount();
  while (!FindWindowA(windowClass, nullptr) && GetTickCount() - start < 20000) Sleep(20);
  started_ = FindWindowA(windowClass, nullptr) != nullptr;
}

HostProcess::~HostProcess() {
  if (!info_.hProcess) return;
  TerminateProcess(info_.hProcess, 0);
  WaitForSingleObject(info_.hProcess, 10000);
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

// --- Registry --------------------------------------------------------------

ScopedKeys::~ScopedKeys() {
  for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) DeleteHklmTree(*it);
}

void ScopedKeys::Create(const std::string& key) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr) == ERROR_SUCCESS) {
    RegCloseKey(h);
  }
  keys_.push_back(key);
}

void ScopedKeys::SetString(const std::string& key, const std::string& name,
                           const std::string& value, DWORD type) {
  Create(key);
  HKEY h = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h);
  RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
}

void ScopedKeys::SetDword(const std::string& key, const std::string& name, DWORD value) {
  Create(key);
  HKEY h = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h);
  RegSetValueExA(h, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof(value));
  RegCloseKey(h);
}

std::string ReadHklmString(const std::string& key, const std::string& name, bool* found) {
  char data[1024] = {};
  DWORD size = sizeof(data) - 1;
  DWORD type = 0;
  HKEY h = nullptr;
  bool ok = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS;
  if (ok) {
    ok = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
         ERROR_SUCCESS;
    RegCloseKey(h);
  }
  if (found) *found = ok;
  return ok ? std::string(data) : std::string();
}

void DeleteHklmTree(const std::string& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) {
    return;
  }
  char sub[256];
  while (RegEnumKeyA(h, 0, sub, sizeof(sub)) == ERROR_SUCCESS) DeleteHklmTree(key + "\\" + sub);
  RegCloseKey(h);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

// --- Files -----------------------------------------------------------------

bool MakeFolders(const std::string& path) {
  std::string sofar;
  for (size_t i = 0; i < path.size(); ++i) {
    sofar += path[i];
    if ((path[i] == '\\' || i + 1 == path.size()) && sofar.size() > 3) {
      CreateDirectoryA(sofar.c_str(), nullptr);
    }
  }
  return FolderExists(path);
}

bool PlaceHost(const std::string& folder, const std::string& variant) {
  if (!MakeFolders(folder)) return false;
  std::string target = folder;
  if (target.back() != '\\') target += '\\';
  target += "FileMaker Pro.exe";
  return CopyFileA(("C:\\fixtures\\host-" + variant + ".exe").c_str(), target.c_str(), FALSE);
}

void DeleteTree(const std::string& path) {
  std::string base = path;
  if (base.back() != '\\') base += '\\';
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((base + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = base + name;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DeleteTree(full);
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(full.c_str());
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  if (path.size() > 3) RemoveDirectoryA(path.c_str());
}

bool FolderExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

RECT RectInParent(const win::Control& control) {
  RECT rc;
  GetWindowRect(control.Handle(), &rc);
  MapWindowPoints(nullptr, GetParent(control.Handle()), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// --- The wizard window ------------------------------------------------------

void WizardTest::SetUp() {
  DeleteHklmTree(kRecordKey);
  frm = std::make_unique<TfrmMain>();
  frm->Show();
  PumpFor(50);
}

void WizardTest::TearDown() {
  frm.reset();
  DeleteHklmTree(kRecordKey);
}

void WizardTest::GoToInstallInto() {
  Click(frm->btnNext);
  ASSERT_EQ(Page(), 2);
}

void WizardTest::GoToBrowse(bool version4, bool version5) {
  GoToInstallInto();
  keys.SetString(kRecordKey, "InstallDir", "C:\\windows");
  keys.SetString(kRecordKey, "InstallDir5", "C:\\windows\\system32");
  frm->chkInstall4.SetChecked(version4);
  frm->chkInstall5.SetChecked(version5);
  Click(frm->btnNext);
  ASSERT_TRUE(PumpUntil([&] { return Page() == 4; }));
}

}  // namespace fixture
