// The wizard window as the user meets it: its layout, the page flow, the
// host checks and the close confirmation, driven through the real controls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "WineFixture.h"
#include "win/Geometry.h"

using fixture::BoxAnswerer;
using fixture::Click;
using Press = fixture::BoxAnswerer::Press;

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class Wizard : public fixture::WizardTest {};

// --- Start-up and layout -----------------------------------------------------

TEST_F(Wizard, StartsOnTheFilledWelcomePage) {
  EXPECT_EQ(frm->Text(), "Quorlet Installer");
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(frm->txtWelcome.Text(),
            Lines({"Welcome to the Quorlet Installer.  This program will install Quorlet on to "
                   "your computer.",
                   "", "Please close any running version of FileMaker Pro before continuing.", "",
                   "", "", ""}));
  EXPECT_FALSE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnNext.Visible());
  EXPECT_TRUE(frm->btnExit.Visible());
  EXPECT_EQ(frm->btnExit.Text(), "Exit");
  EXPECT_EQ(frm->btnNext.Text(), "Next >>");
  EXPECT_EQ(frm->btnBack.Text(), "<< Back");
  EXPECT_FALSE(frm->tmrPause.Enabled());
  EXPECT_EQ(frm->tmrPause.Interval(), 500u);
  EXPECT_FALSE(frm->SetupComplete);
  EXPECT_FALSE(frm->Searching);
  EXPECT_TRUE(frm->RunningHosts.empty());
}

TEST_F(Wizard, HeaderShowsTheLogoBitmap) {
  BITMAP bm{};
  ASSERT_NE(frm->imgLogo.Bitmap(), nullptr);
  GetObjectA(frm->imgLogo.Bitmap(), sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 232);
  EXPECT_EQ(bm.bmHeight, 78);
  EXPECT_EQ(bm.bmBitsPixel, 8);
  // Centred on white: the header's corner and the picture's own corner.
  HDC dc = GetDC(frm->imgLogo.Handle());
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 255));
  ReleaseDC(frm->imgLogo.Handle(), dc);
}

TEST_F(Wizard, IsAFixedDialogCentredOnTheScreen) {
  LONG style = GetWindowLongA(frm->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  RECT window;
  GetWindowRect(frm->Handle(), &window);
  int dx = (window.left + window.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2;
  int dy = (window.top + window.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2;
  EXPECT_LE(std::abs(dx), 1);
  EXPECT_LE(std::abs(dy), 1);
}

// The layout at the DPI this run was started with (QUORLET_EXPECT_DPI, 96
// when unset): every position and size is the 96-DPI figure times DPI/96.
class Layout : public Wizard {
 protected:
  static int ExpectedDpi() {
    const char* dpi = std::getenv("QUORLET_EXPECT_DPI");
    return dpi ? std::atoi(dpi) : 96;
  }
  static int At(int pixels) { return MulDiv(pixels, ExpectedDpi(), 96); }
  void ExpectBounds(const win::Control& control, int left, int top, int width, int height,
                    const char* name) {
    RECT rc = fixture::RectInParent(control);
    EXPECT_EQ(rc.left, At(left)) << name;
    EXPECT_EQ(rc.top, At(top)) << name;
    if (width >= 0) {
      EXPECT_EQ(rc.right - rc.left, At(width)) << name;
    }
    if (height >= 0) {
      EXPECT_EQ(rc.bottom - rc.top, At(height)) << name;
    }
  }
};

TEST_F(Layout, RunsAtTheExpectedDpi) { EXPECT_EQ(win::SystemDpi(), ExpectedDpi()); }

TEST_F(Layout, ClientAreaAndFontScaleWithTheDpi) {
  RECT client;
  GetClientRect(frm->Handle(), &client);
  EXPECT_EQ(client.right, At(392));
  EXPECT_EQ(client.bottom, At(373));
  LOGFONTA lf{};
  GetObjectA(frm->Font(), sizeof(lf), &lf);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(lf.lfHeight, -MulDiv(8, ExpectedDpi(), 72));
  auto font = reinterpret_cast<HFONT>(SendMessageA(frm->btnNext.Handle(), WM_GETFONT, 0, 0));
  EXPECT_EQ(font, frm->Font());
}

TEST_F(Layout, ControlsSitWhereTheLayoutPutsThem) {
  struct Row {
    const win::Control& control;
    int left, top, width, height;
    const char* name;
  };
  const Row rows[] = {
      {frm->pnlImage, 0, 0, 392, 97, "pnlImage"},
      {frm->imgLogo, 1, 1, 390, 95, "imgLogo"},
      {frm->tabsTabControl, 0, 97, 392, 235, "tabsTabControl"},
      {frm->pnlButtons, 0, 332, 392, 41, "pnlButtons"},
      {frm->btnExit, 311, 8, 75, 25, "btnExit"},
      {frm->btnNext, 231, 8, 75, 25, "btnNext"},
      {frm->btnBack, 151, 8, 75, 25, "btnBack"},
      {frm->txtWelcome, 8, 8, 368, 161, "txtWelcome"},
      {frm->Label1, 8, 176, 368, 41, "Label1"},
      {frm->txtCloseFMP, 8, 8, 368, 191, "txtCloseFMP"},
      {frm->lblInstallInto, 24, 16, -1, -1, "lblInstallInto"},
      {frm->chkInstall4, 48, 48, 97, 17, "chkInstall4"},
      {frm->chkInstall5, 48, 80, 97, 17, "chkInstall5"},
      {frm->lblSearching, 24, 32, -1, -1, "lblSearching"},
      {frm->lblSearchPath, 40, 64, -1, -1, "lblSearchPath"},
      {frm->gboxFMP4, 8, 8, 368, 100, "gboxFMP4"},
      {frm->gboxFMP5, 8, 116, 368, 100, "gboxFMP5"},
      {frm->lblWillInstall4, 16, 32, -1, -1, "lblWillInstall4"},
      {frm->edtInstall4Path, 24, 64, 249, 21, "edtInstall4Path"},
      {frm->btnBrowse4, 280, 62, 75, 25, "btnBrowse4"},
      {frm->lblWillInstall5, 16, 32, -1, -1, "lblWillInstall5"},
      {frm->edtInstall5Path, 24, 64, 249, 21, "edtInstall5Path"},
      {frm->btnBrowse5, 280, 62, 75, 25, "btnBrowse5"},
      {frm->lblInstall, 16, 32, -1, -1, "lblInstall"},
      {frm->txtFinished, 8, 8, 368, 191, "txtFinished"},
  };
  for (const Row& row : rows)
    ExpectBounds(row.control, row.left, row.top, row.width, row.height, row.name);
}

SIZE TextExtent(const win::Label& label, const std::string& text) {
  HDC dc = GetDC(label.Handle());
  HGDIOBJ old = SelectObject(dc, label.OwnerForm()->Font());
  SIZE size;
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(label.Handle(), dc);
  return size;
}

SIZE SizeOf(const win::Control& control) {
  RECT rc = fixture::RectInParent(control);
  return {rc.right - rc.left, rc.bottom - rc.top};
}

TEST_F(Layout, LabelsAreSizedToTheirText) {
  for (win::Label* label : {&frm->lblInstallInto, &frm->lblSearching, &frm->lblInstall}) {
    std::string text = label->Text();
    SIZE size = TextExtent(*label, text);
    EXPECT_EQ(SizeOf(*label).cx, size.cx) << text;
    EXPECT_EQ(SizeOf(*label).cy, size.cy) << text;
  }
}

// A label shown many texts in a row (a folder at a time) stores each at once
// and paints and fits itself to the latest when messages are processed.
TEST_F(Layout, ALabelFitsAndPaintsItsLatestTextWhenMessagesAreProcessed) {
  GoToInstallInto();
  Click(frm->btnNext);
  frm->tmrPause.SetEnabled(false);
  win::Label& label = frm->lblSearchPath;
  // A label of no width has nothing to paint.
  label.SetText("D:\\");
  const std::string texts[] = {"D:\\A rather long folder name\\and one below it\\", "C:\\",
                               "E:\\Programme\\FileMaker\\FileMaker Pro 5\\"};
  for (const std::string& text : texts) {
    fixture::PumpFor(50);
    EXPECT_EQ(SizeOf(label).cx, TextExtent(label, label.Text()).cx) << label.Text();
    label.SetText(text);
    EXPECT_EQ(label.Text(), text);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(label.Handle(), &update, FALSE)) << text;
  }
  label.SetText("");
  label.SetText(texts[0]);
  fixture::PumpFor(50);
  EXPECT_EQ(SizeOf(label).cx, TextExtent(label, texts[0]).cx);
  EXPECT_EQ(SizeOf(label).cy, TextExtent(label, texts[0]).cy);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(label.Handle(), &update, FALSE));
}

TEST_F(Layout, PlaceholdersAndFixedTextsOfTheLayout) {
  EXPECT_EQ(frm->txtCloseFMP.Text(), "txtCloseFMP");
  EXPECT_EQ(frm->txtFinished.Text(), "txtFinished");
  EXPECT_EQ(frm->lblSearchPath.Text(), "lblSearchPath");
  EXPECT_EQ(frm->lblSearching.Text(), "Searching For Install Paths");
  EXPECT_EQ(frm->lblInstall.Text(), "Setup is now unpacking and installing...");
  EXPECT_EQ(frm->gboxFMP4.Text(), " FileMaker Pro 4 ");
  EXPECT_EQ(frm->gboxFMP5.Text(), " FileMaker Pro 5 ");
  EXPECT_EQ(frm->btnBrowse4.Text(), "Browse...");
  EXPECT_EQ(frm->btnBrowse4.Tag(), 4);
  EXPECT_EQ(frm->btnBrowse5.Tag(), 5);
  EXPECT_EQ(frm->chkInstall4.Text(), "FileMaker Pro 4");
  EXPECT_EQ(frm->chkInstall5.Text(), "FileMaker Pro 5");
  EXPECT_EQ(frm->Label1.Text(),
            "WinZip Users:  If this installer is running automatically after you download it, "
            "you will not have the documentation and example databases.  Exit this installer "
            "now, locate the zip file and unzip it manually before running the installer.");
}

TEST_F(Layout, WarningLabelIsRedOnWhite) {
  HDC dc = GetDC(frm->Label1.Handle());
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(frm->Label1.Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(frm->Label1.Handle())));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof(lb), &lb);
  EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
  ReleaseDC(frm->Label1.Handle(), dc);
}

TEST_F(Wizard, TabRunsThroughTheButtonBarAsExitNextBack) {
  GoToInstallInto();
  auto pressTab = [&] {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageA(focus, WM_KEYUP, VK_TAB, 0xC00F0001);
    fixture::PumpFor(50);
    return GetFocus();
  };
  frm->btnExit.SetFocus();
  EXPECT_EQ(pressTab(), frm->btnNext.Handle());
  EXPECT_EQ(pressTab(), frm->btnBack.Handle());
  EXPECT_EQ(pressTab(), frm->chkInstall4.Handle());
  EXPECT_EQ(pressTab(), frm->chkInstall5.Handle());
  EXPECT_EQ(pressTab(), frm->btnExit.Handle());
}

// Another top-level window of this thread, active while it lives.
class OtherWindow {
 public:
  OtherWindow()
      : hwnd_(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr)) {
    SetActiveWindow(hwnd_.get());
    fixture::PumpFor(20);
  }
  HWND Handle() const { return hwnd_.get(); }

 private:
  win::UniqueWindow hwnd_;
};

TEST_F(Wizard, FocusReturnsToItsControlWhenTheWindowIsActiveAgain) {
  GoToInstallInto();
  frm->chkInstall5.SetFocus();
  {
    OtherWindow other;
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    EXPECT_NE(GetFocus(), frm->chkInstall5.Handle());
    SetActiveWindow(frm->Handle());
    EXPECT_EQ(GetFocus(), frm->chkInstall5.Handle());
  }
  // A control hidden meanwhile gives way to the first the Tab key reaches.
  frm->btnBack.SetFocus();
  {
    OtherWindow other;
    frm->btnBack.SetVisible(false);
    SetActiveWindow(frm->Handle());
    EXPECT_EQ(GetFocus(), frm->chkInstall4.Handle());
  }
}

TEST_F(Wizard, NoButtonIsTheDefaultOrCancelButton) {
  for (win::Button* b : {&frm->btnExit, &frm->btnNext, &frm->btnBack}) {
    EXPECT_EQ(GetWindowLongA(b->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON, 0) << b->Text();
  }
  // Enter and Escape on a focused Next do not move the wizard.
  frm->btnNext.SetFocus();
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageA(frm->btnNext.Handle(), WM_KEYDOWN, key, 1);
    PostMessageA(frm->btnNext.Handle(), WM_KEYUP, key, 0xC0000001);
    fixture::PumpFor(50);
    EXPECT_EQ(Page(), 0);
  }
}

// --- Page flow ---------------------------------------------------------------

TEST_F(Wizard, InstallIntoOffersBothVersionsWhenNoneIsRegistered) {
  GoToInstallInto();
  EXPECT_EQ(frm->lblInstallInto.Text(),
            "Which versions of FileMaker would you like to install Quorlet into?");
  EXPECT_TRUE(frm->chkInstall4.Checked());
  EXPECT_TRUE(frm->chkInstall5.Checked());
  EXPECT_TRUE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnNext.Visible());
}

TEST_F(Wizard, BackFromInstallIntoRebuildsTheWelcomePage) {
  std::string welcome = frm->txtWelcome.Text();
  GoToInstallInto();
  Click(frm->btnBack);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(frm->txtWelcome.Text(), welcome);
  EXPECT_FALSE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnNext.Visible());
}

TEST_F(Wizard, InstallIntoRefusesToGoOnWithNothingChecked) {
  GoToInstallInto();
  frm->chkInstall4.SetChecked(false);
  frm->chkInstall5.SetChecked(false);
  BoxAnswerer box(Press::Ok);
  Click(frm->btnNext);
  ASSERT_TRUE(box.Answered());
  EXPECT_EQ(box.Title(), "Error");
  EXPECT_EQ(box.Text(), "You must check at least one version to install into.");
  EXPECT_TRUE(box.HasButton(IDOK));
  EXPECT_FALSE(box.HasButton(IDNO));
  EXPECT_EQ(Page(), 2);
}

TEST_F(Wizard, SearchingPageHidesTheButtonsAndArmsTheTimer) {
  GoToInstallInto();
  frm->chkInstall5.SetChecked(false);
  Click(frm->btnNext);
  EXPECT_EQ(Page(), 3);
  EXPECT_FALSE(frm->btnNext.Visible());
  EXPECT_FALSE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnExit.Visible());
  EXPECT_EQ(frm->lblSearchPath.Text(), "");
  EXPECT_TRUE(frm->tmrPause.Enabled());
  EXPECT_EQ(frm->tmrPause.Tag(), 0);
}

TEST_F(Wizard, BrowsePageFollowsTheSearchingPageAfterHalfASecond) {
  GoToInstallInto();
  keys.SetString(fixture::kRecordKey, "InstallDir", "C:\\windows");
  keys.SetString(fixture::kRecordKey, "InstallDir5", "C:\\windows\\system32");
  Click(frm->btnNext);
  DWORD shown = GetTickCount();
  ASSERT_TRUE(fixture::PumpUntil([&] { return Page() == 4; }));
  DWORD waited = GetTickCount() - shown;
  EXPECT_GE(waited, 450u);
  EXPECT_LT(waited, 3000u);
  EXPECT_FALSE(frm->tmrPause.Enabled());
  // Both folders were remembered, so no drive was walked.
  EXPECT_EQ(frm->lblSearchPath.Text(), "");
  EXPECT_EQ(frm->edtInstall4Path.Text(), "C:\\windows");
  EXPECT_EQ(frm->edtInstall5Path.Text(), "C:\\windows\\system32");
}

TEST_F(Wizard, BrowseNextChecksVersionFourBeforeVersionFive) {
  GoToBrowse(true, true);
  frm->edtInstall4Path.SetText("");
  frm->edtInstall5Path.SetText("");
  {
    BoxAnswerer box(Press::Ok);
    Click(frm->btnNext);
    ASSERT_TRUE(box.Answered());
    EXPECT_EQ(box.Title(), "Error");
    EXPECT_EQ(box.Text(),
              "You must have an install path for FileMaker Pro 4 before continuing.  Please use "
              "the Browse button to locate the Path.");
    EXPECT_EQ(Page(), 4);
    EXPECT_EQ(GetFocus(), frm->edtInstall4Path.Handle());
  }
  frm->edtInstall4Path.SetText("D:\\FMP4\\System\\");
  {
    BoxAnswerer box(Press::Ok);
    Click(frm->btnNext);
    ASSERT_TRUE(box.Answered());
    EXPECT_EQ(box.Text(),
              "You must have an install path for FileMaker Pro 5 before continuing.  Please use "
              "the Browse button to locate the Path.");
    EXPECT_EQ(Page(), 4);
    EXPECT_EQ(GetFocus(), frm->edtInstall5Path.Handle());
  }
}

TEST_F(Wizard, BrowseNextTakesABlankAsAPathAndIgnoresUncheckedVersions) {
  GoToBrowse(false, true);
  EXPECT_EQ(frm->edtInstall4Path.Text(), "");
  frm->edtInstall5Path.SetText(" ");
  BoxAnswerer none(Press::Ok, 1500);
  Click(frm->btnNext);
  EXPECT_FALSE(none.Answered());
  EXPECT_EQ(Page(), 5);
  EXPECT_FALSE(frm->btnNext.Visible());
  EXPECT_FALSE(frm->btnBack.Visible());
  EXPECT_EQ(frm->lblInstall.Text(), "Setup is now unpacking and installing Quorlet");
  EXPECT_TRUE(frm->tmrPause.Enabled());
  EXPECT_EQ(frm->tmrPause.Tag(), 1);
}

TEST_F(Wizard, BackFromBrowseResetsTheChoiceToTheDetectedHosts) {
  keys.Create(fixture::kVersion5Key);
  GoToBrowse(true, true);
  Click(frm->btnBack);
  EXPECT_EQ(Page(), 2);
  EXPECT_FALSE(frm->chkInstall4.Checked());
  EXPECT_TRUE(frm->chkInstall5.Checked());
}

TEST_F(Wizard, FinishedPageEndsWithoutAQuestion) {
  frm->tabsTabControl.SetActivePage(frm->tabFinished);
  EXPECT_EQ(frm->txtFinished.Text(), Lines({"Setup has successfully installed Quorlet.", "",
                                            "Press the Finish button to exit setup."}));
  EXPECT_FALSE(frm->btnNext.Visible());
  EXPECT_FALSE(frm->btnBack.Visible());
  EXPECT_EQ(frm->btnExit.Text(), "Finish");
  BoxAnswerer none(Press::No, 1500);
  Click(frm->btnExit);
  EXPECT_FALSE(none.Answered());
  EXPECT_TRUE(frm->Closed());
}

// Next and Back cannot be clicked where they are hidden; their handlers
// only hide them again there.
TEST_F(Wizard, HandlersOnlyHideTheirButtonWhereItIsHidden) {
  struct Row {
    win::Page& page;
    bool next;  // true: Next's handler, false: Back's
  };
  const Row rows[] = {{frm->tabWelcome, false},
                      {frm->tabSearching, true},
                      {frm->tabSearching, false},
                      {frm->tabFinished, true},
                      {frm->tabFinished, false}};
  for (const Row& row : rows) {
    frm->tabsTabControl.SetActivePage(row.page);
    frm->tmrPause.SetEnabled(false);
    int page = Page();
    win::Button& button = row.next ? frm->btnNext : frm->btnBack;
    button.SetVisible(true);
    if (row.next) {
      frm->btnNextClick(&button);
    } else {
      frm->btnBackClick(&button);
    }
    EXPECT_FALSE(button.Visible()) << page << (row.next ? " Next" : " Back");
    EXPECT_EQ(Page(), page);
  }
}

TEST_F(Wizard, TimerTickWithAnotherTagOnlyDisablesTheTimer) {
  frm->tmrPause.SetTag(7);
  frm->tmrPause.SetEnabled(true);
  fixture::PumpFor(800);
  EXPECT_FALSE(frm->tmrPause.Enabled());
  EXPECT_EQ(Page(), 0);
}

// --- Running and installed hosts -------------------------------------------

struct RunningCase {
  std::vector<std::pair<const char*, const char*>> hosts;  // variant, window class
  const char* runningHosts;
  const char* firstLine;
  const char* thirdLine;
};

class RunningHostsPage : public Wizard, public testing::WithParamInterface<RunningCase> {};

TEST_P(RunningHostsPage, NamesTheRunningVersionsAndKeepsTheUserThere) {
  const RunningCase& c = GetParam();
  std::vector<std::unique_ptr<fixture::HostProcess>> hosts;
  for (auto [variant, cls] : c.hosts) {
    hosts.push_back(std::make_unique<fixture::HostProcess>(variant, cls));
    ASSERT_TRUE(hosts.back()->Started()) << variant;
  }
  std::string expected = Lines({c.firstLine, "", c.thirdLine});
  Click(frm->btnNext);
  EXPECT_EQ(frm->RunningHosts, c.runningHosts);
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(frm->txtCloseFMP.Text(), expected);
  EXPECT_TRUE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnNext.Visible());

  // Still running: the same three lines once, and the page stays.
  Click(frm->btnNext);
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(frm->txtCloseFMP.Text(), expected);

  // Closed: on to Install Into.
  hosts.clear();
  ASSERT_TRUE(fixture::PumpUntil(
      [] { return !FindWindowA("FMPRO3APP", nullptr) && !FindWindowA("FMPRO5APP", nullptr); }));
  Click(frm->btnNext);
  EXPECT_EQ(Page(), 2);
  EXPECT_TRUE(frm->RunningHosts.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, RunningHostsPage,
    testing::Values(RunningCase{{{"v4", "FMPRO3APP"}},
                                "FileMaker Pro 4 is ",
                                "Setup has detected that FileMaker Pro 4 is  open.",
                                "Please close FileMaker Pro 4, and then click Next."},
                    RunningCase{{{"v5", "FMPRO5APP"}},
                                "FileMaker Pro 5 is ",
                                "Setup has detected that FileMaker Pro 5 is  open.",
                                "Please close FileMaker Pro 5, and then click Next."},
                    RunningCase{
                        {{"v4", "FMPRO3APP"}, {"v5", "FMPRO5APP"}},
                        "FileMaker Pro 4 and FileMaker Pro 5 are",
                        "Setup has detected that FileMaker Pro 4 and FileMaker Pro 5 are open.",
                        "Please close FileMaker Pro 4 and FileMaker Pro 5, and then click Next."}));

TEST_F(Wizard, BackFromCloseFileMakerLeadsToWelcome) {
  fixture::HostProcess host("v5", "FMPRO5APP");
  ASSERT_TRUE(host.Started());
  Click(frm->btnNext);
  ASSERT_EQ(Page(), 1);
  Click(frm->btnBack);
  EXPECT_EQ(Page(), 0);
  EXPECT_FALSE(frm->btnBack.Visible());
}

TEST_F(Wizard, ASecondCheckDropsAHostThatWasClosed) {
  auto host4 = std::make_unique<fixture::HostProcess>("v4", "FMPRO3APP");
  fixture::HostProcess host5("v5", "FMPRO5APP");
  ASSERT_TRUE(host4->Started() && host5.Started());
  frm->DetectRunningHosts();
  EXPECT_EQ(frm->RunningHosts, "FileMaker Pro 4 and FileMaker Pro 5 are");
  host4.reset();
  ASSERT_TRUE(fixture::PumpUntil([] { return !FindWindowA("FMPRO3APP", nullptr); }));
  frm->DetectRunningHosts();
  EXPECT_EQ(frm->RunningHosts, "FileMaker Pro 5 is ");
}

TEST_F(Wizard, AnyWindowOfTheHostClassCountsWhateverItsTitle) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "FMPRO3APP";
  RegisterClassA(&wc);
  HWND hidden = CreateWindowExA(0, "FMPRO3APP", "not FileMaker at all", WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hidden, nullptr);
  frm->DetectRunningHosts();
  EXPECT_EQ(frm->RunningHosts, "FileMaker Pro 4 is ");
  DestroyWindow(hidden);
  UnregisterClassA("FMPRO3APP", wc.hInstance);
}

struct PresetCase {
  bool key4, key5, checked4, checked5;
};

class InstalledHostPresets : public Wizard, public testing::WithParamInterface<PresetCase> {};

TEST_P(InstalledHostPresets, PresetTheCheckBoxes) {
  const PresetCase& c = GetParam();
  if (c.key4) keys.Create(fixture::kVersion4Key);
  if (c.key5) keys.Create(fixture::kVersion5Key);
  GoToInstallInto();
  EXPECT_EQ(frm->HasVersion4, c.checked4);
  EXPECT_EQ(frm->HasVersion5, c.checked5);
  EXPECT_EQ(frm->chkInstall4.Checked(), c.checked4);
  EXPECT_EQ(frm->chkInstall5.Checked(), c.checked5);
  EXPECT_EQ(frm->Reg, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Keys, InstalledHostPresets,
                         testing::Values(PresetCase{false, false, true, true},
                                         PresetCase{true, false, true, false},
                                         PresetCase{false, true, false, true},
                                         PresetCase{true, true, true, true}));

// --- Close confirmation -----------------------------------------------------

TEST_F(Wizard, ExitAsksAConfirmBoxCentredOnTheScreen) {
  BoxAnswerer box(Press::No);
  Click(frm->btnExit);
  ASSERT_TRUE(box.Answered());
  EXPECT_EQ(box.Title(), "Confirm");
  EXPECT_EQ(box.Text(), "Setup has not completed.  Are you sure you want to exit?");
  EXPECT_TRUE(box.HasButton(IDYES));
  EXPECT_TRUE(box.HasButton(IDNO));
  EXPECT_FALSE(box.HasButton(IDCANCEL));
  EXPECT_FALSE(box.HasButton(IDOK));
  EXPECT_EQ(box.DefaultButton(), IDYES);
  EXPECT_TRUE(box.OwnerWasDisabled());
  RECT rc = box.Bounds();
  EXPECT_LE(std::abs((rc.left + rc.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

struct CloseCase {
  const char* name;
  bool setupComplete;
  bool searching;
  bool viaCloseBox;  // WM_CLOSE, as the title bar's close box and Alt+F4 send
  bool boxExpected;
  Press press;
  bool closes;
  bool flagsSet;
};

class CloseQuery : public Wizard, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuery, DecidesAsTheTableSays) {
  const CloseCase& c = GetParam();
  GoToInstallInto();
  frm->SetupComplete = c.setupComplete;
  frm->Searching = c.searching;
  BoxAnswerer box(c.press, c.boxExpected ? 20000 : 1500);
  if (c.viaCloseBox) {
    PostMessageA(frm->Handle(), WM_CLOSE, 0, 0);
    fixture::PumpUntil([&] { return frm->Closed(); }, 3000);
  } else {
    Click(frm->btnExit);
  }
  EXPECT_EQ(box.Answered(), c.boxExpected);
  fixture::PumpFor(100);
  EXPECT_EQ(frm->Closed(), c.closes);
  EXPECT_EQ(frm->ExitRequested, c.flagsSet);
  EXPECT_EQ(frm->StopSearch, c.flagsSet);
  if (!c.closes) {
    EXPECT_EQ(Page(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CloseQuery,
    testing::Values(
        CloseCase{"Complete", true, false, false, false, Press::No, true, false},
        CloseCase{"CompleteCloseBox", true, false, true, false, Press::No, true, false},
        CloseCase{"Yes", false, false, false, true, Press::Yes, true, false},
        CloseCase{"YesCloseBox", false, false, true, true, Press::Yes, true, false},
        CloseCase{"YesWhileSearching", false, true, false, true, Press::Yes, false, true},
        CloseCase{"No", false, false, false, true, Press::No, false, false},
        CloseCase{"NoWhileSearching", false, true, false, true, Press::No, false, false},
        CloseCase{"Escape", false, false, false, true, Press::Escape, false, false},
        CloseCase{"EscapeCloseBox", false, false, true, true, Press::Escape, false, false}),
    [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

}  // namespace
