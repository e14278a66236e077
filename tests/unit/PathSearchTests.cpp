// The Searching page on the search profile's drives: C: (the prefix), D:, E:
// and H: fixed, F: removable, G: network; H:\loop\parent links back to H:\.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "WineFixture.h"

using fixture::BoxAnswerer;
using fixture::Click;
using Press = fixture::BoxAnswerer::Press;

namespace {

// Records every text the walk shows in lblSearchPath, in order, by watching
// the label's WM_SETTEXT on the GUI thread.
class SearchPathLog {
 public:
  explicit SearchPathLog(HWND label) : label_(label) {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Proc, nullptr, GetCurrentThreadId());
  }
  ~SearchPathLog() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  SearchPathLog(const SearchPathLog&) = delete;
  SearchPathLog& operator=(const SearchPathLog&) = delete;

  // Folders shown, without the page's initial clearing of the label.
  std::vector<std::string> Folders() const {
    std::vector<std::string> folders;
    for (const std::string& text : texts_) {
      if (!text.empty()) folders.push_back(text);
    }
    return folders;
  }
  bool Shown(const std::string& folder) const {
    auto f = Folders();
    return std::find(f.begin(), f.end(), folder) != f.end();
  }
  size_t IndexOf(const std::string& folder) const {
    auto f = Folders();
    return static_cast<size_t>(std::find(f.begin(), f.end(), folder) - f.begin());
  }
  // Runs once, at the first folder shown.
  std::function<void()> onFirstFolder;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<CWPSTRUCT*>(lParam);
    SearchPathLog* self = current_;
    if (code == HC_ACTION && self && msg->hwnd == self->label_ && msg->message == WM_SETTEXT) {
      std::string text = reinterpret_cast<const char*>(msg->lParam);
      self->texts_.push_back(text);
      if (!text.empty() && self->onFirstFolder) {
        auto first = std::move(self->onFirstFolder);
        self->onFirstFolder = nullptr;
        first();
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static SearchPathLog* current_;
  HWND label_;
  HHOOK hook_ = nullptr;
  std::vector<std::string> texts_;
};

SearchPathLog* SearchPathLog::current_ = nullptr;

const char* const kFixtureDrives[] = {"D:\\", "E:\\", "F:\\", "G:\\"};

class SearchWalk : public fixture::WizardTest {
 protected:
  void SetUp() override {
    ClearDrives();
    WizardTest::SetUp();
    log = std::make_unique<SearchPathLog>(frm->lblSearchPath.Handle());
    GoToInstallInto();
  }
  void TearDown() override {
    log.reset();
    WizardTest::TearDown();
    ClearDrives();
  }
  static void ClearDrives() {
    for (const char* drive : kFixtureDrives) fixture::DeleteTree(drive);
  }

  void Place(const std::string& folder, const char* variant) {
    ASSERT_TRUE(fixture::PlaceHost(folder, variant)) << folder;
  }

  // Next on Install Into with the given choice, then wait for the Browse page.
  void Search(bool version4, bool version5, int timeoutMs = 120000) {
    frm->chkInstall4.SetChecked(version4);
    frm->chkInstall5.SetChecked(version5);
    Click(frm->btnNext);
    ASSERT_EQ(Page(), 3);
    ASSERT_TRUE(fixture::PumpUntil([&] { return Page() == 4 || frm->Closed(); }, timeoutMs));
  }

  std::unique_ptr<SearchPathLog> log;
};

TEST_F(SearchWalk, HostInADriveRootStopsTheWalkBeforeItsFirstSubfolder) {
  Place("D:\\", "v4");
  ASSERT_TRUE(fixture::MakeFolders("D:\\sub"));
  Search(true, false);
  EXPECT_EQ(frm->InstallPath4, "D:\\System\\");
  EXPECT_EQ(frm->edtInstall4Path.Text(), "D:\\System\\");
  EXPECT_EQ(frm->edtInstall5Path.Text(), "");
  auto folders = log->Folders();
  ASSERT_FALSE(folders.empty());
  EXPECT_EQ(folders.front(), "C:\\");
  EXPECT_EQ(folders.back(), "D:\\");
  EXPECT_FALSE(log->Shown("D:\\sub\\"));
  EXPECT_FALSE(log->Shown("E:\\"));
  EXPECT_FALSE(frm->Searching);
}

TEST_F(SearchWalk, SortsHostsByTheMajorVersionOfTheirFileVersion) {
  Place("D:\\six\\", "v6");
  Place("D:\\unversioned\\", "none");
  Place("E:\\l1\\l2\\l3\\l4\\l5\\", "v5");
  Search(false, true);
  EXPECT_EQ(frm->InstallPath5, "E:\\l1\\l2\\l3\\l4\\l5\\System\\");
  EXPECT_EQ(frm->InstallPath4, "");
  EXPECT_TRUE(log->Shown("D:\\six\\"));
  EXPECT_TRUE(log->Shown("D:\\unversioned\\"));
  EXPECT_LT(log->IndexOf("D:\\"), log->IndexOf("E:\\"));
}

TEST_F(SearchWalk, AFolderNamedLikeTheHostIsCheckedThenWalked) {
  ASSERT_TRUE(fixture::MakeFolders("D:\\odd\\FileMaker Pro.exe"));
  Place("D:\\odd\\FileMaker Pro.exe\\", "v5");
  Search(false, true);
  EXPECT_EQ(frm->InstallPath5, "D:\\odd\\FileMaker Pro.exe\\System\\");
  EXPECT_LT(log->IndexOf("D:\\odd\\"), log->IndexOf("D:\\odd\\FileMaker Pro.exe\\"));
}

// Each folder is read once, so the host's name is matched in the listing: as
// the file system matches a name, without regard to case.
TEST_F(SearchWalk, TheHostsNameMatchesWhateverItsCase) {
  Place("D:\\upper\\", "v4");
  ASSERT_TRUE(MoveFileA("D:\\upper\\FileMaker Pro.exe", "D:\\upper\\FILEMAKER PRO.EXE"));
  Place("E:\\lower\\", "v5");
  ASSERT_TRUE(MoveFileA("E:\\lower\\FileMaker Pro.exe", "E:\\lower\\filemaker pro.exe"));
  Search(true, true);
  EXPECT_EQ(frm->InstallPath4, "D:\\upper\\System\\");
  EXPECT_EQ(frm->InstallPath5, "E:\\lower\\System\\");
}

TEST_F(SearchWalk, ALaterFindOfOneVersionReplacesAnEarlierOne) {
  // Preorder: the outer host is met first, the one below it later.
  Place("D:\\a\\", "v4");
  Place("D:\\a\\b\\", "v4");
  Place("E:\\", "v5");
  Search(true, true);
  EXPECT_EQ(frm->InstallPath4, "D:\\a\\b\\System\\");
  EXPECT_EQ(frm->InstallPath5, "E:\\System\\");
  EXPECT_EQ(log->Folders().back(), "E:\\");
}

TEST_F(SearchWalk, RemovableAndNetworkDrivesAreNeverSearched) {
  Place("F:\\", "v4");
  Place("G:\\", "v5");
  Search(true, true);
  EXPECT_EQ(frm->InstallPath4, "");
  EXPECT_EQ(frm->InstallPath5, "");
  for (const std::string& folder : log->Folders()) {
    EXPECT_NE(folder[0], 'F') << folder;
    EXPECT_NE(folder[0], 'G') << folder;
  }
  // Nothing found: the whole of every fixed drive was walked.
  EXPECT_TRUE(log->Shown("H:\\"));
  // Next now refuses to go on.
  BoxAnswerer box(Press::Ok);
  Click(frm->btnNext);
  EXPECT_TRUE(box.Answered());
  EXPECT_EQ(Page(), 4);
}

TEST_F(SearchWalk, LinksAreNotFollowedSoALinkLoopEnds) {
  Search(true, false);
  EXPECT_EQ(Page(), 4);
  EXPECT_TRUE(log->Shown("H:\\loop\\"));
  EXPECT_FALSE(log->Shown("H:\\loop\\parent\\"));
}

TEST_F(SearchWalk, RecordedFoldersSkipTheWalk) {
  ASSERT_TRUE(fixture::MakeFolders("D:\\kept4"));
  ASSERT_TRUE(fixture::MakeFolders("D:\\kept5"));
  keys.SetString(fixture::kRecordKey, "InstallDir", "D:\\kept4");
  keys.SetString(fixture::kRecordKey, "InstallDir5", "D:\\kept5\\");
  Search(true, true);
  EXPECT_TRUE(log->Folders().empty());
  EXPECT_EQ(frm->lblSearchPath.Text(), "");
  EXPECT_EQ(frm->InstallPath4, "D:\\kept4");
  EXPECT_EQ(frm->InstallPath5, "D:\\kept5\\");
}

TEST_F(SearchWalk, AMissingVersionIsWalkedForAndAHostOnTheWayReplacesTheRecord) {
  ASSERT_TRUE(fixture::MakeFolders("D:\\kept4"));
  keys.SetString(fixture::kRecordKey, "InstallDir", "D:\\kept4");
  keys.SetString(fixture::kRecordKey, "InstallDir5", "D:\\deleted");
  Place("D:\\other4\\", "v4");
  Place("E:\\five\\", "v5");
  Search(true, true);
  EXPECT_EQ(frm->InstallPath4, "D:\\other4\\System\\");
  EXPECT_EQ(frm->InstallPath5, "E:\\five\\System\\");
}

TEST_F(SearchWalk, ASecondVisitStartsAfresh) {
  Place("D:\\four\\", "v4");
  Place("E:\\five\\", "v5");
  Search(true, true);
  EXPECT_EQ(frm->InstallPath5, "E:\\five\\System\\");
  Click(frm->btnBack);
  ASSERT_EQ(Page(), 2);
  size_t firstVisit = log->Folders().size();
  // Only version 4 now: version 5 counts as done, and its path is gone.
  Search(true, false);
  auto folders = log->Folders();
  ASSERT_GT(folders.size(), firstVisit);
  EXPECT_EQ(folders[firstVisit], "C:\\");
  EXPECT_EQ(folders.back(), "D:\\four\\");
  EXPECT_EQ(frm->InstallPath4, "D:\\four\\System\\");
  EXPECT_EQ(frm->InstallPath5, "");
  EXPECT_EQ(frm->edtInstall5Path.Text(), "");
}

TEST_F(SearchWalk, ANumberInTheRecordEndsTheSearchWithTheRegistryError) {
  keys.SetDword(fixture::kRecordKey, "InstallDir", 3);
  frm->chkInstall4.SetChecked(true);
  BoxAnswerer box(Press::Ok);
  Click(frm->btnNext);
  // The timer starts the search, which meets the value and shows the error.
  fixture::PumpFor(1500);
  ASSERT_TRUE(box.Answered());
  EXPECT_EQ(box.Title(), "Error");
  EXPECT_EQ(box.Text(), "Invalid data type for 'InstallDir'.");
  EXPECT_EQ(Page(), 3);
  EXPECT_FALSE(frm->btnNext.Visible());
  EXPECT_FALSE(frm->btnBack.Visible());
  EXPECT_TRUE(frm->btnExit.Visible());
  EXPECT_TRUE(log->Folders().empty());
  EXPECT_EQ(frm->Reg, nullptr);
}

// --- Leaving during the walk ---------------------------------------------------

TEST_F(SearchWalk, ExitAnsweredNoLetsTheWalkGoOn) {
  Place("E:\\five\\", "v5");
  log->onFirstFolder = [this] { PostMessageA(frm->btnExit.Handle(), BM_CLICK, 0, 0); };
  BoxAnswerer box(Press::No);
  Search(false, true);
  ASSERT_TRUE(box.Answered());
  EXPECT_EQ(box.Text(), "Setup has not completed.  Are you sure you want to exit?");
  EXPECT_EQ(Page(), 4);
  EXPECT_FALSE(frm->Closed());
  EXPECT_EQ(frm->InstallPath5, "E:\\five\\System\\");
}

TEST_F(SearchWalk, ExitAnsweredYesStopsTheWalkAndClosesWithoutASecondQuestion) {
  Place("E:\\five\\", "v5");
  log->onFirstFolder = [this] { PostMessageA(frm->btnExit.Handle(), BM_CLICK, 0, 0); };
  {
    BoxAnswerer box(Press::Yes);
    Search(false, true);
    ASSERT_TRUE(box.Answered());
  }
  BoxAnswerer second(Press::No, 1500);
  fixture::PumpFor(300);
  EXPECT_FALSE(second.Answered());
  EXPECT_TRUE(frm->Closed());
  EXPECT_TRUE(frm->SetupComplete);
  EXPECT_FALSE(frm->Searching);
  EXPECT_NE(Page(), 4);
  EXPECT_FALSE(log->Shown("E:\\five\\"));
  bool recorded = true;
  fixture::ReadHklmString(fixture::kRecordKey, "InstallDir5", &recorded);
  EXPECT_FALSE(recorded);
}

TEST_F(SearchWalk, ExitBeforeTheTimerFiresClosesAtOnce) {
  frm->chkInstall4.SetChecked(true);
  Click(frm->btnNext);
  ASSERT_EQ(Page(), 3);
  BoxAnswerer box(Press::Yes);
  Click(frm->btnExit);
  ASSERT_TRUE(box.Answered());
  EXPECT_TRUE(frm->Closed());
  fixture::PumpFor(800);
  EXPECT_TRUE(log->Folders().empty());
  EXPECT_NE(Page(), 4);
}

// --- The pieces of the walk ----------------------------------------------------

TEST(FixedDrives, AreListedInLetterOrderAndOnlyFixedOnes) {
  TfrmMain frm;
  std::vector<std::string> list = {"stale"};
  frm.ListFixedDrives(list);
  EXPECT_EQ(list, (std::vector<std::string>{"C:\\", "D:\\", "E:\\", "H:\\"}));
}

TEST(FileVersion, IsTheFileVersionStringOfTheFirstTranslation) {
  TfrmMain frm;
  struct Case {
    const char* file;
    const char* version;
  };
  const Case cases[] = {
      {"C:\\fixtures\\host-v4.exe", "4.0v1"}, {"C:\\fixtures\\host-v5.exe", "5.0v1"},
      {"C:\\fixtures\\host-v6.exe", "6.0v1"}, {"C:\\fixtures\\host-none.exe", ""},
      {"C:\\fixtures\\missing.exe", ""},      {"C:\\fixtures", ""}};
  for (const Case& c : cases) EXPECT_EQ(frm.GetFileVersionString(c.file), c.version) << c.file;
}

}  // namespace
