// The directory chooser is a form of the window layer run in a modal loop of
// its own: a folder-name field, a classic directory list (the chain of
// parents from the drive root, then the subfolders of the open folder), a
// drive list, OK and Cancel.
#include "win/DirectoryDialog.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

#include "win/Application.h"
#include "win/Exception.h"
#include "win/Form.h"
#include "win/MessageBox.h"
#include "win/StandardControls.h"

namespace win {

namespace {

using UniquePen = UniqueHandle<GdiTraits<HPEN>>;

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "X:\..." only: a relative name, "X:name" or a UNC name has no place in
// the list, which always starts at a drive root.
bool IsLetteredPath(const std::string& path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         path[2] == '\\';
}

std::string FullPath(const std::string& name) {
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, buffer, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

// The form in which the chooser shows a folder: no final backslash, except
// that a drive root keeps it.
std::string Tidy(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  path[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  return path;
}

std::string StartFolder(const std::string& initial) {
  if (IsLetteredPath(initial)) {
    std::string full = FullPath(initial);
    if (IsLetteredPath(full) && FolderExists(full)) return Tidy(full);
  }
  std::string current = FullPath(".");
  if (IsLetteredPath(current)) return Tidy(current);
  // Started from a network share: the list needs a lettered drive.
  char windows[MAX_PATH] = "C:\\";
  GetWindowsDirectoryA(windows, MAX_PATH);
  return Tidy(std::string(windows, 3));
}

// Creates a folder and any parents it lacks, quietly: a folder that cannot be
// made is for the caller to find missing.
void MakeFolders(const std::string& name) {
  if (name.empty() || FolderExists(name)) return;
  size_t slash = name.find_last_of('\\');
  if (slash != std::string::npos && slash > 0 && name[slash - 1] != ':' &&
      name[slash - 1] != '\\') {
    MakeFolders(name.substr(0, slash));
  }
  CreateDirectoryA(name.c_str(), nullptr);
}

// Only an empty name is refused outright.
void CreateFolders(std::string name) {
  while (!name.empty() && name.back() == '\\') name.pop_back();
  if (name.empty()) throw Exception("Unable to create directory");
  MakeFolders(name);
}

// No "insert a disk" box from the system while a drive is looked at.
class QuietDriveErrors {
 public:
  QuietDriveErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;
  ~QuietDriveErrors() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

// Keeps the owner disabled while the chooser is open, and hands activation
// back to it afterwards. Unlock comes before the chooser hides, so that the
// system does not pass activation to some other program's window.
class OwnerLock {
 public:
  explicit OwnerLock(HWND owner) : owner_(owner), locked_(owner && IsWindowEnabled(owner)) {
    if (locked_) EnableWindow(owner_, FALSE);
  }
  OwnerLock(const OwnerLock&) = delete;
  OwnerLock& operator=(const OwnerLock&) = delete;
  ~OwnerLock() {
    Unlock();
    if (owner_) SetActiveWindow(owner_);
  }
  void Unlock() {
    if (locked_) EnableWindow(owner_, TRUE);
    locked_ = false;
  }
  HWND Owner() const { return owner_; }

 private:
  HWND owner_;
  bool locked_;
};

class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { ReleaseDC(hwnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A system control the layer has no wrapper for (static with mnemonic,
// list box, combo box): it keeps the system's colours and passes its
// notifications on.
class SystemChild : public Control {
 public:
  void Create(Container& parent, const char* className, DWORD style, DWORD exStyle,
              const Bounds& bounds, const std::string& text = std::string()) {
    CreateChild(parent, className, style | WS_VISIBLE, exStyle, bounds, text);
  }
  std::function<void(WORD)> onNotify;
  void HandleCommand(WORD code) override {
    if (onNotify) onNotify(code);
  }
  HBRUSH HandleCtlColor(HDC) override { return nullptr; }
};

struct Entry {
  std::string path;
  std::string name;
  int depth;
  bool open;  // on the chain down to the open folder
};

std::vector<Entry> ListEntries(const std::string& folder) {
  std::vector<Entry> entries{{folder.substr(0, 3), folder.substr(0, 3), 0, true}};
  for (size_t start = 3; start < folder.size();) {
    size_t end = std::min(folder.find('\\', start), folder.size());
    entries.push_back({folder.substr(0, end), folder.substr(start, end - start),
                       static_cast<int>(entries.size()), true});
    start = end + 1;
  }
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  std::string base = folder.size() > 3 ? folder + "\\" : folder;
  UniqueFind find(FindFirstFileA((base + "*").c_str(), &found));
  if (find) {
    do {
      std::string name = found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
        names.push_back(name);
      }
    } while (FindNextFileA(find.get(), &found));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  int depth = static_cast<int>(entries.size());
  for (const std::string& name : names) entries.push_back({base + name, name, depth, false});
  return entries;
}

// A folder in the classic style, drawn on a 16-pixel grid at 96 DPI; an open
// one has its front flap tipped forward.
void DrawFolderGlyph(HDC dc, int left, int top, bool open) {
  auto at = [&](int x, int y) { return POINT{left + Scale(x), top + Scale(y)}; };
  UniquePen pen(CreatePen(PS_SOLID, 1, RGB(128, 128, 0)));
  UniqueBrush back(CreateSolidBrush(RGB(255, 255, 153)));
  UniqueBrush front(CreateSolidBrush(RGB(255, 255, 204)));
  HGDIOBJ oldPen = SelectObject(dc, pen.get());
  HGDIOBJ oldBrush = SelectObject(dc, back.get());
  const POINT body[] = {at(1, 3), at(6, 3), at(7, 4), at(14, 4), at(14, 13), at(1, 13)};
  Polygon(dc, body, 6);
  if (open) {
    SelectObject(dc, front.get());
    const POINT flap[] = {at(1, 13), at(3, 7), at(15, 7), at(13, 13)};
    Polygon(dc, flap, 4);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

constexpr int kGlyph = 16;
constexpr int kIndent = 10;

class DirectoryForm : public Form {
 public:
  DirectoryForm(const std::string& caption, const std::string& folder, HWND owner);
  // Shows the chooser and runs its modal loop; true when OK accepted a name.
  bool Run();
  std::string Name() const { return edtName.Text(); }

 protected:
  void OnCloseQuery(bool& canClose) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OkClick();
  // By value: the caller's name often lives in the entries this replaces.
  void OpenFolder(std::string folder);
  void FillDrives();
  void SelectDrive(char letter);
  void DriveChosen();
  int SelectedEntry() const;
  void PlaceOverOwner();
  void DrawEntry(const DRAWITEMSTRUCT& item);
  void FocusName();

  // Declared first so that the owner is enabled again before the chooser's
  // window is destroyed.
  OwnerLock owner_;
  SystemChild lblName;
  Edit edtName;
  SystemChild lblFolders;
  SystemChild lstFolders;
  SystemChild lblDrives;
  SystemChild cboDrives;
  Button btnOk;
  Button btnCancel;

  std::vector<Entry> entries_;
  std::string folder_;
  std::vector<char> drives_;
  bool accepted_ = false;
};

DirectoryForm::DirectoryForm(const std::string& caption, const std::string& folder, HWND owner)
    : owner_(owner) {
  CreateForm({300, 270, caption});
  // The layer's forms are unowned windows of their own; a dialog stays above
  // its owner and has no taskbar button.
  SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  SetWindowLongPtrA(Handle(), GWL_EXSTYLE,
                    GetWindowLongPtrA(Handle(), GWL_EXSTYLE) & ~WS_EX_APPWINDOW);

  // Each prompt comes just before its control, so that its mnemonic moves
  // the focus there.
  lblName.Create(*this, "STATIC", SS_LEFT, 0, {8, 8, 200, 13}, "Directory &name:");
  edtName.Create(*this, {{8, 24, 284, 21}, ""});
  lblFolders.Create(*this, "STATIC", SS_LEFT, 0, {8, 54, 200, 13}, "&Directories:");
  lstFolders.Create(*this, "LISTBOX",
                    WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                        LBS_NOINTEGRALHEIGHT,
                    WS_EX_CLIENTEDGE, {8, 70, 200, 146});
  lblDrives.Create(*this, "STATIC", SS_LEFT, 0, {8, 224, 200, 13}, "Dri&ves:");
  cboDrives.Create(*this, "COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                   {8, 240, 200, 160});
  btnOk.Create(*this, {{217, 70, 75, 25}, "OK"});
  btnCancel.Create(*this, {{217, 101, 75, 25}, "Cancel"});
  // The dialog manager finds OK and Cancel by these ids for Enter and Escape.
  SetWindowLongPtrA(btnOk.Handle(), GWLP_ID, IDOK);
  SetWindowLongPtrA(btnCancel.Handle(), GWLP_ID, IDCANCEL);
  SendMessageA(btnOk.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);

  btnOk.onClick = [this] { OkClick(); };
  btnCancel.onClick = [this] { Close(); };
  lstFolders.onNotify = [this](WORD code) {
    int index = SelectedEntry();
    if (index < 0) return;
    if (code == LBN_SELCHANGE) edtName.SetText(entries_[index].path);
    if (code == LBN_DBLCLK) OpenFolder(entries_[index].path);
  };
  cboDrives.onNotify = [this](WORD code) {
    // While the list is down, arrow keys only browse it; the drive changes
    // when it closes, so that no drive is visited on the way.
    bool dropped = SendMessageA(cboDrives.Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !dropped)) DriveChosen();
  };

  FillDrives();
  OpenFolder(folder);
}

bool DirectoryForm::Run() {
  PlaceOverOwner();
  ShowWindow(Handle(), SW_SHOW);
  FocusName();
  UpdateWindow(Handle());
  Application& application = Application::Instance();
  while (!Closed() && !application.Terminated()) {
    application.ProcessMessages();
    if (!Closed()) {
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }
  return accepted_;
}

void DirectoryForm::OnCloseQuery(bool& canClose) {
  canClose = true;
  owner_.Unlock();
}

bool DirectoryForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case DM_GETDEFID:
      result = MAKELRESULT(IDOK, DC_HASDEFID);
      return true;
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_LISTBOX) return false;
      WindowDc dc(Handle());
      HGDIOBJ old = SelectObject(dc.get(), Font());
      TEXTMETRICA tm;
      GetTextMetricsA(dc.get(), &tm);
      SelectObject(dc.get(), old);
      item.itemHeight = static_cast<UINT>(std::max<int>(tm.tmHeight, Scale(kGlyph)));
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item.hwndItem != lstFolders.Handle()) return false;
      DrawEntry(item);
      result = TRUE;
      return true;
    }
    default:
      return Form::HandleMessage(message, wParam, lParam, result);
  }
}

void DirectoryForm::OkClick() {
  // Enter in the folder list reaches here as the default button: there it
  // opens the selected entry, as a double-click does.
  if (GetFocus() == lstFolders.Handle()) {
    int index = SelectedEntry();
    if (index >= 0) OpenFolder(entries_[index].path);
    return;
  }
  if (!FolderExists(Name()) &&
      ShowConfirmBox("The specified directory does not exist. Create it?") != Answer::Yes) {
    FocusName();
    return;
  }
  accepted_ = true;
  Close();
}

void DirectoryForm::OpenFolder(std::string folder) {
  if (!FolderExists(folder)) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  folder_ = folder;
  entries_ = ListEntries(folder);
  HWND list = lstFolders.Handle();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  int open = 0;
  for (const Entry& entry : entries_) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
    if (entry.open) open = entry.depth;
  }
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(open), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SelectDrive(folder[0]);
  edtName.SetText(folder);
}

void DirectoryForm::FillDrives() {
  char buffer[4 * 26 + 1] = {};
  DWORD length = GetLogicalDriveStringsA(sizeof(buffer), buffer);
  if (length == 0 || length > sizeof(buffer)) return;
  for (const char* root = buffer; *root; root += lstrlenA(root) + 1) {
    std::string text{static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':'};
    // Labels only where reading one is quick and cannot wait for a medium.
    char label[MAX_PATH] = {};
    if (GetDriveTypeA(root) == DRIVE_FIXED &&
        GetVolumeInformationA(root, label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0) &&
        label[0]) {
      text += std::string(" [") + label + "]";
    }
    drives_.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
    SendMessageA(cboDrives.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void DirectoryForm::SelectDrive(char letter) {
  auto found = std::find(drives_.begin(), drives_.end(), letter);
  WPARAM index = found == drives_.end() ? static_cast<WPARAM>(-1)
                                        : static_cast<WPARAM>(found - drives_.begin());
  SendMessageA(cboDrives.Handle(), CB_SETCURSEL, index, 0);
}

void DirectoryForm::DriveChosen() {
  LRESULT index = SendMessageA(cboDrives.Handle(), CB_GETCURSEL, 0, 0);
  if (index < 0 || index >= static_cast<LRESULT>(drives_.size())) return;
  char letter = drives_[static_cast<size_t>(index)];
  if (letter == folder_[0]) return;
  std::string root{letter, ':', '\\'};
  if (!FolderExists(root)) {
    // No medium, or a share that is gone: stay where we are.
    MessageBeep(MB_ICONWARNING);
    SelectDrive(folder_[0]);
    return;
  }
  OpenFolder(root);
}

int DirectoryForm::SelectedEntry() const {
  LRESULT index = SendMessageA(lstFolders.Handle(), LB_GETCURSEL, 0, 0);
  return index >= 0 && index < static_cast<LRESULT>(entries_.size()) ? static_cast<int>(index) : -1;
}

void DirectoryForm::PlaceOverOwner() {
  RECT self;
  GetWindowRect(Handle(), &self);
  HWND owner = owner_.Owner();
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
  int width = self.right - self.left;
  int height = self.bottom - self.top;
  int x = (area.left + area.right - width) / 2;
  int y = (area.top + area.bottom - height) / 2;
  // Over an owner near the edge, the chooser still shows whole.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  }
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DirectoryForm::DrawEntry(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
  if (item.itemID >= entries_.size()) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
    return;
  }
  const Entry& entry = entries_[item.itemID];
  int left = item.rcItem.left + Scale(2 + entry.depth * kIndent);
  int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - Scale(kGlyph)) / 2;
  DrawFolderGlyph(dc, left, top, entry.open);

  HGDIOBJ oldFont = SelectObject(dc, Font());
  RECT text{left + Scale(kGlyph + 2), item.rcItem.top, 0, item.rcItem.bottom};
  SIZE size{};
  GetTextExtentPoint32A(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &size);
  text.right = text.left + size.cx + Scale(4);
  // Only the name is highlighted, as in the classic list.
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  SetBkMode(dc, TRANSPARENT);
  RECT inner{text.left + Scale(2), text.top, text.right, text.bottom};
  DrawTextA(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &inner,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
  SelectObject(dc, oldFont);
}

void DirectoryForm::FocusName() {
  edtName.SetFocus();
  SendMessageA(edtName.Handle(), EM_SETSEL, 0, -1);
}

}  // namespace

bool SelectDirectory(const std::string& caption, std::string& folder) {
  QuietDriveErrors quiet;
  std::string name;
  {
    DirectoryForm chooser(caption, StartFolder(folder), GetActiveWindow());
    if (!chooser.Run()) return false;
    name = chooser.Name();
  }
  // The user agreed to the creation before the chooser closed.
  if (!FolderExists(name)) CreateFolders(name);
  folder = name;
  return true;
}

}  // namespace win
