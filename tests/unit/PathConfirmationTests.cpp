// The Browse page and its directory chooser, driven through the real
// windows. The chooser runs its modal loop on the test's own thread, inside
// the click on Browse; a second thread plays the user at it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "WineFixture.h"
#include "win/DirectoryDialog.h"
#include "win/Form.h"
#include "win/Geometry.h"

using fixture::BoxAnswerer;
using fixture::Click;
using Press = fixture::BoxAnswerer::Press;

namespace {

const char kWillInstall[] = "Setup will install Quorlet into the following folder:";
const char kCreateQuestion[] = "The specified directory does not exist. Create it?";

// The folders the chooser is tried on; delta is the process's current
// folder while a chooser test runs.
const char kRoot[] = "C:\\chooser";
const char kAlpha[] = "C:\\chooser\\alpha";
const char kBeta[] = "C:\\chooser\\alpha\\beta";
const char kDelta[] = "C:\\chooser\\delta";
const char kNote[] = "C:\\chooser\\alpha\\note.txt";

const char* Caption(int version) {
  return version == 4 ? "Find FileMaker Pro 4 System Directory..."
                      : "Find FileMaker Pro 5 System Directory...";
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND hwnd) {
  char text[1024] = {};
  Send(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

struct TopLevelSearch {
  const std::function<bool(HWND)>* wanted;
  HWND found;
};

// Enumeration callbacks are stdcall on i686, which a lambda cannot be.
BOOL CALLBACK CheckTopLevel(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<TopLevelSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || !(*s->wanted)(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// The first visible top-level window of this process that is wanted.
HWND FindTopLevel(const std::function<bool(HWND)>& wanted) {
  TopLevelSearch search{&wanted, nullptr};
  EnumWindows(&CheckTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindBox() {
  return FindTopLevel([](HWND hwnd) { return ClassOf(hwnd) == "#32770"; });
}

struct BoxSeen {
  std::string title;
  std::string text;
  bool operator==(const BoxSeen& o) const { return title == o.title && text == o.text; }
};

void PrintTo(const BoxSeen& box, std::ostream* os) { *os << box.title << ": " << box.text; }

// The user at the chooser, on a thread of its own: waits for this process's
// chooser to open and runs the script at it. Afterwards it answers whatever
// message box comes up (OK, else No) and keeps what each said, and it
// cancels a chooser the script left open, so that a failing script cannot
// leave the test's thread stuck in the modal loop.
class ChooserUser {
 public:
  using Script = std::function<void(ChooserUser&)>;

  ChooserUser(HWND wizard, Script script)
      : wizard_(wizard),
        mainThread_(GetCurrentThreadId()),
        thread_([this, s = std::move(script)] { Run(s); }) {}
  ~ChooserUser() { Finish(); }
  ChooserUser(const ChooserUser&) = delete;
  ChooserUser& operator=(const ChooserUser&) = delete;

  // Called once the click that would open the chooser has returned.
  void Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool Found() const { return found_; }
  bool LeftOpen() const { return leftOpen_; }
  const std::vector<BoxSeen>& Boxes() const { return boxes_; }

  // --- What the script sees and does.
  HWND Window() const { return dialog_; }
  HWND NameField() const { return FindWindowExA(dialog_, nullptr, "Edit", nullptr); }
  HWND List() const { return FindWindowExA(dialog_, nullptr, "ListBox", nullptr); }
  HWND Drives() const { return FindWindowExA(dialog_, nullptr, "ComboBox", nullptr); }
  HWND Button(int id) const { return GetDlgItem(dialog_, id); }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(mainThread_, &info) ? info.hwndFocus : nullptr;
  }

  std::string Name() const { return TextOf(NameField()); }
  void SetName(const std::string& name) {
    Send(NameField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    int count = static_cast<int>(Send(List(), LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
      char text[MAX_PATH] = {};
      Send(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  int IndexOf(const std::string& entry) const {
    std::vector<std::string> entries = Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == entry) return static_cast<int>(i);
    }
    return -1;
  }
  int Selected() const { return static_cast<int>(Send(List(), LB_GETCURSEL)); }
  std::string Drive() const {
    char text[MAX_PATH] = {};
    Send(Drives(), CB_GETLBTEXT, Send(Drives(), CB_GETCURSEL), reinterpret_cast<LPARAM>(text));
    return text;
  }

  bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) const {
    DWORD start = GetTickCount();
    while (!done()) {
      if (stop_ || static_cast<int>(GetTickCount() - start) > timeoutMs) return done();
      Sleep(20);
    }
    return true;
  }
  bool Closed() const {
    return WaitFor([&] { return !IsWindow(dialog_); });
  }

  // A mouse click on an entry of the folder list; twice is a double-click.
  void ClickEntry(const std::string& entry, bool twice) {
    RECT rc{};
    Send(List(), LB_GETITEMRECT, IndexOf(entry), reinterpret_cast<LPARAM>(&rc));
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(List(), WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageA(List(), WM_LBUTTONUP, 0, at);
    }
  }
  // Picks an entry with one click and waits for the name field to follow.
  bool Pick(const std::string& entry, const std::string& name) {
    ClickEntry(entry, false);
    return WaitFor([&] { return Name() == name; });
  }
  // Opens an entry with a double-click and waits until it is the open folder.
  bool Open(const std::string& entry, const std::string& name) {
    ClickEntry(entry, true);
    return WaitFor([&] { return Name() == name && Entries().at(Selected()) == entry; });
  }
  // A key pressed where the focus is, with Alt held when alt is set.
  void Key(WPARAM key, bool alt = false) {
    HWND target = Focus() ? Focus() : dialog_;
    LPARAM flags = (MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC) << 16) | 1 |
                   (alt ? 0x20000000 : 0);
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, flags | 0xC0000000);
  }
  // The key, then the control the focus moved to.
  HWND KeyMovesFocus(WPARAM key, bool alt = false) {
    HWND before = Focus();
    Key(key, alt);
    WaitFor([&] { return Focus() != before; }, 2000);
    return Focus();
  }
  void Press(int id) { PostMessageA(Button(id), BM_CLICK, 0, 0); }

 private:
  void Run(const Script& script) {
    DWORD start = GetTickCount();
    while (!stop_ && !dialog_ && GetTickCount() - start < 20000) {
      dialog_ = FindTopLevel(
          [this](HWND hwnd) { return hwnd != wizard_ && ClassOf(hwnd) == win::Form::ClassName(); });
      if (!dialog_) Sleep(20);
    }
    if (!dialog_) return;
    found_ = true;
    WaitFor([&] { return Focus() == NameField(); }, 2000);
    script(*this);
    while (!stop_) {
      if (HWND box = FindBox()) {
        Sleep(150);
        boxes_.push_back({TextOf(box), TextOf(GetDlgItem(box, 0xFFFF))});
        HWND button = GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : GetDlgItem(box, IDNO);
        PostMessageA(button, BM_CLICK, 0, 0);
        WaitFor([&] { return !IsWindow(box); });
      } else if (IsWindow(dialog_) && IsWindowEnabled(dialog_)) {
        leftOpen_ = true;
        Press(IDCANCEL);
        WaitFor([&] { return !IsWindow(dialog_) || FindBox(); });
      }
      Sleep(20);
    }
  }

  HWND wizard_;
  DWORD mainThread_;
  HWND dialog_ = nullptr;
  std::atomic<bool> stop_{false};
  bool found_ = false;
  bool leftOpen_ = false;
  std::vector<BoxSeen> boxes_;
  std::thread thread_;  // last: it starts once everything above is set
};

// The wizard on its Browse page, reached through the real window with both
// folders remembered, so that no drive is walked.
class BrowseBase : public fixture::WizardTest {
 protected:
  static int Other(int version) { return version == 4 ? 5 : 4; }
  win::Edit& Field(int version) {
    return version == 4 ? frm->edtInstall4Path : frm->edtInstall5Path;
  }
};

// --- The Browse page ---------------------------------------------------------

// Pixels of a colour in a group's caption as it was painted on the screen.
int CaptionPixels(const win::GroupBox& group, HFONT font, COLORREF colour) {
  HWND hwnd = group.Handle();
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  std::string caption = group.Text();
  RECT text{win::Scale(8), 0, 0, 0};
  DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  int count = 0;
  for (int y = text.top; y < text.bottom; ++y) {
    for (int x = text.left; x < text.right; ++x) count += GetPixel(dc, x, y) == colour;
  }
  ReleaseDC(hwnd, dc);
  return count;
}

struct GroupCase {
  bool version4;
  bool version5;
};

void PrintTo(const GroupCase& c, std::ostream* os) {
  *os << "version 4 " << (c.version4 ? "on" : "off") << ", version 5 "
      << (c.version5 ? "on" : "off");
}

class BrowsePage : public BrowseBase, public testing::WithParamInterface<GroupCase> {};

TEST_P(BrowsePage, EnablesTheGroupOfEachChosenVersionOnly) {
  const GroupCase& c = GetParam();
  GoToBrowse(c.version4, c.version5);
  struct Group {
    int version;
    bool chosen;
    win::GroupBox& box;
    win::Edit& field;
    win::Label& label;
    win::Button& browse;
    const char* found;
  };
  const Group groups[] = {{4, c.version4, frm->gboxFMP4, frm->edtInstall4Path, frm->lblWillInstall4,
                           frm->btnBrowse4, "C:\\windows"},
                          {5, c.version5, frm->gboxFMP5, frm->edtInstall5Path, frm->lblWillInstall5,
                           frm->btnBrowse5, "C:\\windows\\system32"}};
  for (const Group& g : groups) {
    SCOPED_TRACE(testing::Message() << "version " << g.version);
    EXPECT_EQ(g.box.Enabled(), g.chosen);
    EXPECT_EQ(g.field.Enabled(), g.chosen);
    EXPECT_EQ(g.label.Enabled(), g.chosen);
    EXPECT_EQ(g.browse.Enabled(), g.chosen);
    EXPECT_EQ(g.field.Text(), g.chosen ? g.found : "");
    EXPECT_EQ(g.label.Text(), kWillInstall);
    int shown = g.chosen ? COLOR_WINDOWTEXT : COLOR_INACTIVECAPTION;
    int other = g.chosen ? COLOR_INACTIVECAPTION : COLOR_WINDOWTEXT;
    EXPECT_TRUE(g.box.FontColor() == win::Color::System(shown));
    // The colour really reaches the screen, in the caption only.
    EXPECT_GT(CaptionPixels(g.box, frm->Font(), GetSysColor(shown)), 20);
    EXPECT_EQ(CaptionPixels(g.box, frm->Font(), GetSysColor(other)), 0);
  }
  EXPECT_TRUE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnNext.Visible());
}

INSTANTIATE_TEST_SUITE_P(Browse, BrowsePage,
                         testing::Values(GroupCase{true, false}, GroupCase{false, true},
                                         GroupCase{true, true}));

class BrowseHandler : public BrowseBase {};

TEST_F(BrowseHandler, DoesNothingForASenderOfNeitherGroup) {
  GoToBrowse(true, true);
  win::Button untagged, tagged6;
  tagged6.SetTag(6);
  for (win::Control* sender :
       {static_cast<win::Control*>(nullptr), static_cast<win::Control*>(&untagged),
        static_cast<win::Control*>(&tagged6)}) {
    SCOPED_TRACE(testing::Message() << "tag " << (sender ? sender->Tag() : -1));
    ChooserUser user(frm->Handle(), [](ChooserUser& u) { u.Press(IDCANCEL); });
    frm->btnBrowse4Click(sender);
    user.Finish();
    EXPECT_FALSE(user.Found());
    EXPECT_EQ(frm->edtInstall4Path.Text(), "C:\\windows");
    EXPECT_EQ(frm->edtInstall5Path.Text(), "C:\\windows\\system32");
  }
}

// --- The chooser -------------------------------------------------------------

class ChooserBase : public BrowseBase {
 protected:
  void SetUp() override {
    BrowseBase::SetUp();
    fixture::DeleteTree(kRoot);
    ASSERT_TRUE(fixture::MakeFolders(std::string(kAlpha) + "\\beta"));
    ASSERT_TRUE(fixture::MakeFolders(std::string(kAlpha) + "\\gamma"));
    ASSERT_TRUE(fixture::MakeFolders(kDelta));
    win::UniqueFile note(CreateFileA(kNote, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(note);
    GetCurrentDirectoryA(MAX_PATH, savedFolder_);
    SetCurrentDirectoryA(kDelta);
    GoToBrowse(true, true);
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedFolder_);
    BrowseBase::TearDown();
    fixture::DeleteTree(kRoot);
  }

  // Clicks Browse in the version's group while the user plays the script,
  // and checks that the chooser was there, was closed by the script and
  // handed the wizard back. Returns the message boxes nobody expected.
  std::vector<BoxSeen> Browse(int version, ChooserUser::Script script) {
    ChooserUser user(frm->Handle(), std::move(script));
    Click(version == 4 ? frm->btnBrowse4 : frm->btnBrowse5);
    user.Finish();
    EXPECT_TRUE(user.Found());
    EXPECT_FALSE(user.LeftOpen());
    EXPECT_TRUE(frm->Enabled());
    EXPECT_EQ(GetActiveWindow(), frm->Handle());
    return user.Boxes();
  }

 private:
  char savedFolder_[MAX_PATH] = {};
};

TEST_F(ChooserBase, IsAModalDialogCentredOverTheWizard) {
  HWND wizard = frm->Handle();
  LOGFONTA wizardFont{};
  GetObjectA(frm->Font(), sizeof(wizardFont), &wizardFont);
  std::vector<BoxSeen> boxes = Browse(4, [&](ChooserUser& u) {
    HWND dialog = u.Window();
    EXPECT_EQ(TextOf(dialog), Caption(4));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), wizard);
    EXPECT_FALSE(IsWindowEnabled(wizard));
    LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) && (style & WS_SYSMENU));
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    RECT mine, theirs;
    GetWindowRect(dialog, &mine);
    GetWindowRect(wizard, &theirs);
    EXPECT_LE(std::abs((mine.left + mine.right) - (theirs.left + theirs.right)), 2);
    EXPECT_LE(std::abs((mine.top + mine.bottom) - (theirs.top + theirs.bottom)), 2);

    // Laid out at 96 DPI and scaled, in the wizard's font.
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, win::Scale(300));
    EXPECT_EQ(client.bottom, win::Scale(270));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(Send(u.NameField(), WM_GETFONT)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, wizardFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, wizardFont.lfHeight);

    EXPECT_EQ(GetWindowLongPtrA(u.Button(IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_EQ(TextOf(u.Button(IDOK)), "OK");
    EXPECT_EQ(TextOf(u.Button(IDCANCEL)), "Cancel");
    EXPECT_EQ(u.Drive(), "c:");
    EXPECT_EQ(u.Focus(), u.NameField());
    u.Press(IDCANCEL);
    EXPECT_TRUE(u.Closed());
  });
  EXPECT_TRUE(boxes.empty());
}

// --- Where it opens, and cancelling ----------------------------------------

enum class Cancel { Button, Escape, CloseBox };

struct StartCase {
  const char* name;
  int version;
  const char* field;
  const char* opensOn;              // as the name field shows it
  std::vector<const char*> chain;   // the first entries; the last is the open folder
  std::vector<const char*> listed;  // entries that follow, in this order
  bool onlyThese;                   // nothing else is listed
  const char* openEntry;            // opened before cancelling ...
  const char* openedName;           // ... which puts this into the name field
  Cancel cancel;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class ChooserStart : public ChooserBase, public testing::WithParamInterface<StartCase> {};

TEST_P(ChooserStart, OpensOnTheFieldsFolderAndCancelKeepsIt) {
  const StartCase& c = GetParam();
  Field(c.version).SetText(c.field);
  std::string other = Field(Other(c.version)).Text();
  std::vector<BoxSeen> boxes = Browse(c.version, [&](ChooserUser& u) {
    EXPECT_EQ(TextOf(u.Window()), Caption(c.version));
    EXPECT_EQ(u.Name(), c.opensOn);
    std::vector<std::string> entries = u.Entries();
    ASSERT_GE(entries.size(), c.chain.size());
    for (size_t i = 0; i < c.chain.size(); ++i) EXPECT_EQ(entries[i], c.chain[i]) << i;
    EXPECT_EQ(u.Selected(), static_cast<int>(c.chain.size()) - 1);
    size_t next = c.chain.size();
    for (const char* listed : c.listed) {
      while (next < entries.size() && entries[next] != listed) ++next;
      EXPECT_LT(next, entries.size()) << listed << " not listed in order";
    }
    if (c.onlyThese) {
      EXPECT_EQ(entries.size(), c.chain.size() + c.listed.size());
    }

    EXPECT_TRUE(u.Open(c.openEntry, c.openedName)) << u.Name();
    switch (c.cancel) {
      case Cancel::Button:
        u.Press(IDCANCEL);
        break;
      case Cancel::Escape:
        u.Key(VK_ESCAPE);
        break;
      case Cancel::CloseBox:
        PostMessageA(u.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    EXPECT_TRUE(u.Closed());
  });
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Field(c.version).Text(), c.field);
  EXPECT_EQ(Field(Other(c.version)).Text(), other);
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STREQ(current, kDelta);
}

const std::vector<const char*> kAlphaChain = {"C:\\", "chooser", "alpha"};
const std::vector<const char*> kDeltaChain = {"C:\\", "chooser", "delta"};

INSTANTIATE_TEST_SUITE_P(
    Chooser, ChooserStart,
    testing::Values(
        StartCase{"Folder",
                  4,
                  kAlpha,
                  kAlpha,
                  kAlphaChain,
                  {"beta", "gamma"},
                  true,
                  "beta",
                  kBeta,
                  Cancel::Button},
        StartCase{"FinalBackslash",
                  5,
                  "C:\\chooser\\alpha\\",
                  kAlpha,
                  kAlphaChain,
                  {"beta", "gamma"},
                  true,
                  "C:\\",
                  "C:\\",
                  Cancel::Escape},
        StartCase{"DriveRoot",
                  4,
                  "C:\\",
                  "C:\\",
                  {"C:\\"},
                  {"chooser", "windows"},
                  false,
                  "chooser",
                  kRoot,
                  Cancel::CloseBox},
        StartCase{"MissingFolder",
                  4,
                  "C:\\chooser\\missing",
                  kDelta,
                  kDeltaChain,
                  {},
                  true,
                  "chooser",
                  kRoot,
                  Cancel::Escape},
        StartCase{"AFileNotAFolder",
                  5,
                  kNote,
                  kDelta,
                  kDeltaChain,
                  {},
                  true,
                  "C:\\",
                  "C:\\",
                  Cancel::CloseBox},
        StartCase{"Empty", 4, "", kDelta, kDeltaChain, {}, true, "chooser", kRoot, Cancel::Button}),
    [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

// BrowseForFolder falls back on the field's text by itself, so the chooser's
// own promise to leave the name alone is checked on the function.
TEST_F(ChooserBase, CancelLeavesTheCallersNameAlone) {
  std::string folder = "C:\\chooser\\alpha\\";
  ChooserUser user(frm->Handle(), [&](ChooserUser& u) {
    EXPECT_EQ(TextOf(u.Window()), "Pick one");
    EXPECT_TRUE(u.Open("beta", kBeta)) << u.Name();
    u.Press(IDCANCEL);
    EXPECT_TRUE(u.Closed());
  });
  EXPECT_FALSE(win::SelectDirectory("Pick one", folder));
  user.Finish();
  EXPECT_TRUE(user.Found());
  EXPECT_EQ(folder, "C:\\chooser\\alpha\\");
}

// --- OK with an existing folder ---------------------------------------------

enum class Action { Pick, Open, Type, Nothing };

struct AcceptCase {
  const char* name;
  int version;
  const char* field;
  Action action;
  const char* entryOrText;
  const char* result;
};

void PrintTo(const AcceptCase& c, std::ostream* os) { *os << c.name; }

class ChooserAccept : public ChooserBase, public testing::WithParamInterface<AcceptCase> {};

TEST_P(ChooserAccept, OkPutsTheNameIntoThatFieldOnly) {
  const AcceptCase& c = GetParam();
  Field(c.version).SetText(c.field);
  std::string other = Field(Other(c.version)).Text();
  std::vector<BoxSeen> boxes = Browse(c.version, [&](ChooserUser& u) {
    switch (c.action) {
      case Action::Pick:
        EXPECT_TRUE(u.Pick(c.entryOrText, c.result)) << u.Name();
        break;
      case Action::Open:
        EXPECT_TRUE(u.Open(c.entryOrText, c.result)) << u.Name();
        break;
      case Action::Type:
        u.SetName(c.entryOrText);
        break;
      case Action::Nothing:
        break;
    }
    u.Press(IDOK);
    EXPECT_TRUE(u.Closed());
  });
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Field(c.version).Text(), c.result);
  EXPECT_EQ(Field(Other(c.version)).Text(), other);
}

INSTANTIATE_TEST_SUITE_P(
    Chooser, ChooserAccept,
    testing::Values(AcceptCase{"PickedSubfolder", 4, kAlpha, Action::Pick, "beta", kBeta},
                    AcceptCase{"PickedDriveRoot", 4, kAlpha, Action::Pick, "C:\\", "C:\\"},
                    AcceptCase{"PickedParent", 5, kBeta, Action::Pick, "chooser", kRoot},
                    AcceptCase{"OpenedFolder", 5, kAlpha, Action::Open, "gamma",
                               "C:\\chooser\\alpha\\gamma"},
                    AcceptCase{"TypedNameAsTyped", 4, kAlpha, Action::Type, "c:\\chooser\\delta\\",
                               "c:\\chooser\\delta\\"},
                    AcceptCase{"CurrentFolder", 4, "", Action::Nothing, "", kDelta}),
    [](const testing::TestParamInfo<AcceptCase>& info) { return std::string(info.param.name); });

// --- OK with a name that does not exist --------------------------------------

struct CreateCase {
  const char* name;
  const char* folder;
  bool canBeMade;
};

void PrintTo(const CreateCase& c, std::ostream* os) { *os << c.name; }

class ChooserCreate : public ChooserBase, public testing::WithParamInterface<CreateCase> {};

TEST_P(ChooserCreate, AsksAndOnlyYesClosesAndCreates) {
  const CreateCase& c = GetParam();
  Field(4).SetText(kAlpha);
  std::vector<BoxSeen> boxes = Browse(4, [&](ChooserUser& u) {
    u.SetName(c.folder);
    {
      BoxAnswerer no(Press::No);
      u.Press(IDOK);
      ASSERT_TRUE(no.Answered());
      EXPECT_EQ(no.Title(), "Confirm");
      EXPECT_EQ(no.Text(), kCreateQuestion);
      EXPECT_TRUE(no.HasButton(IDYES) && no.HasButton(IDNO));
      EXPECT_TRUE(no.OwnerWasDisabled());
    }
    // No: back in the chooser with the name as it was, and nothing made.
    EXPECT_TRUE(u.WaitFor([] { return FindBox() == nullptr; }));
    EXPECT_TRUE(IsWindowVisible(u.Window()) && IsWindowEnabled(u.Window()));
    EXPECT_EQ(u.Name(), c.folder);
    EXPECT_EQ(u.Focus(), u.NameField());
    EXPECT_FALSE(fixture::FolderExists(c.folder));
    {
      BoxAnswerer yes(Press::Yes);
      u.Press(IDOK);
      ASSERT_TRUE(yes.Answered());
      EXPECT_EQ(yes.Text(), kCreateQuestion);
    }
    EXPECT_TRUE(u.Closed());
  });
  // A folder that cannot be made goes unreported: the name is returned.
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Field(4).Text(), c.folder);
  EXPECT_EQ(fixture::FolderExists(c.folder), c.canBeMade);
}

INSTANTIATE_TEST_SUITE_P(
    Chooser, ChooserCreate,
    testing::Values(CreateCase{"WithItsParents", "C:\\chooser\\new\\deeper\\leaf", true},
                    CreateCase{"OnADriveThatIsNotThere", "Q:\\nowhere\\leaf", false}),
    [](const testing::TestParamInfo<CreateCase>& info) { return std::string(info.param.name); });

TEST_F(ChooserBase, EmptyNameAndYesShowsTheErrorAndKeepsTheField) {
  Field(4).SetText(kAlpha);
  std::vector<BoxSeen> boxes = Browse(4, [&](ChooserUser& u) {
    u.SetName("");
    BoxAnswerer yes(Press::Yes);
    u.Press(IDOK);
    ASSERT_TRUE(yes.Answered());
    EXPECT_EQ(yes.Text(), kCreateQuestion);
    EXPECT_TRUE(u.Closed());
  });
  EXPECT_EQ(boxes, (std::vector<BoxSeen>{{"Error", "Unable to create directory."}}));
  EXPECT_EQ(Field(4).Text(), kAlpha);
}

// --- The keyboard ------------------------------------------------------------

TEST_F(ChooserBase, WorksFromTheKeyboard) {
  Field(4).SetText(kAlpha);
  std::vector<BoxSeen> boxes = Browse(4, [&](ChooserUser& u) {
    HWND field = u.NameField(), list = u.List(), drives = u.Drives();
    HWND ok = u.Button(IDOK), cancel = u.Button(IDCANCEL);
    for (HWND next : {list, drives, ok, cancel, field}) {
      EXPECT_EQ(u.KeyMovesFocus(VK_TAB), next) << ClassOf(u.Focus());
    }
    // The prompts' mnemonics.
    EXPECT_EQ(u.KeyMovesFocus('D', true), list);
    EXPECT_EQ(u.KeyMovesFocus('V', true), drives);
    EXPECT_EQ(u.KeyMovesFocus('N', true), field);
    EXPECT_EQ(u.KeyMovesFocus('D', true), list);
    // Down to the first subfolder, Enter opens it, Enter in the name is OK.
    u.Key(VK_DOWN);
    EXPECT_TRUE(u.WaitFor([&] { return u.Name() == kBeta; })) << u.Name();
    EXPECT_EQ(u.Entries().size(), 5u);
    u.Key(VK_RETURN);
    EXPECT_TRUE(u.WaitFor([&] { return u.Entries().size() == 4; }));
    EXPECT_TRUE(IsWindowVisible(u.Window()));
    EXPECT_EQ(u.Name(), kBeta);
    EXPECT_EQ(u.KeyMovesFocus('N', true), field);
    u.Key(VK_RETURN);
    EXPECT_TRUE(u.Closed());
  });
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Field(4).Text(), kBeta);
}

// --- The drive list ----------------------------------------------------------

// The first fixed drive after C: whose root can be read, or 0.
char OtherReadableDrive() {
  char roots[4 * 26 + 1] = {};
  GetLogicalDriveStringsA(sizeof(roots), roots);
  for (const char* root = roots; *root; root += lstrlenA(root) + 1) {
    if (root[0] != 'C' && GetDriveTypeA(root) == DRIVE_FIXED && fixture::FolderExists(root)) {
      return root[0];
    }
  }
  return 0;
}

// Chooses a drive from the keyboard, by its letter, in the drive list.
void ChooseDrive(ChooserUser& u, char letter) {
  EXPECT_EQ(u.Drive(), "c:");
  EXPECT_EQ(u.KeyMovesFocus('V', true), u.Drives());
  u.Key(static_cast<WPARAM>(letter));
}

class ChooserDrives : public ChooserBase {};

TEST_F(ChooserDrives, ChoosingADriveOpensItsRoot) {
  // The plain Wine profile has C: alone; the search profile maps more.
  char letter = OtherReadableDrive();
  if (!letter) GTEST_SKIP() << "no second readable fixed drive in this prefix";
  const std::string root{letter, ':', '\\'};
  const std::string inside = root + "chooser-inside";
  ASSERT_TRUE(fixture::MakeFolders(inside));
  Field(4).SetText(kAlpha);
  std::vector<BoxSeen> boxes = Browse(4, [&](ChooserUser& u) {
    ChooseDrive(u, letter);
    EXPECT_TRUE(u.WaitFor([&] { return u.Name() == root; })) << u.Name();
    const std::string listed{static_cast<char>(letter - 'A' + 'a'), ':'};
    EXPECT_EQ(u.Drive(), listed);
    std::vector<std::string> entries = u.Entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0], root);
    EXPECT_NE(std::find(entries.begin(), entries.end(), "chooser-inside"), entries.end());
    EXPECT_EQ(u.Selected(), 0);
    u.Press(IDOK);
    EXPECT_TRUE(u.Closed());
  });
  RemoveDirectoryA(inside.c_str());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Field(4).Text(), root);
}

TEST_F(ChooserDrives, ADriveThatCannotBeReadLeavesTheChooserWhereItWas) {
  // Listed among the drives, but nothing answers behind it: a drive without
  // its medium, or a share that has gone.
  ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "Q:", "\\Device\\QuorletNothingHere"));
  Field(4).SetText(kAlpha);
  std::vector<BoxSeen> boxes = Browse(4, [&](ChooserUser& u) {
    EXPECT_NE(Send(u.Drives(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>("q:")),
              CB_ERR);
    ChooseDrive(u, 'Q');
    // Tab moves on only once the letter has been dealt with.
    EXPECT_EQ(u.KeyMovesFocus(VK_TAB), u.Button(IDOK));
    EXPECT_EQ(u.Drive(), "c:");
    EXPECT_EQ(u.Name(), kAlpha);
    EXPECT_EQ(u.Entries().size(), 5u);
    u.Press(IDOK);
    EXPECT_TRUE(u.Closed());
  });
  DefineDosDeviceA(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                   "Q:", "\\Device\\QuorletNothingHere");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Field(4).Text(), kAlpha);
}

}  // namespace
