// Walk benchmark, run inside Wine by scripts/bench.sh. In one run it reports:
//  - the installer's own drive walk (a real TfrmMain taken from the Welcome
//    page to the Browse page, only version 4 checked, no install record, no
//    host anywhere) against a bare FindFirstFileA walk of the same drives that
//    lists every folder twice, as the installer does;
//  - the longest time the window goes without retrieving a message during the
//    walk (a WH_GETMESSAGE hook records every retrieval while a second thread
//    posts WM_NULL to the form every millisecond), and the longest time one of
//    those messages waited in the queue (the gap is normally the larger: it
//    also grows when the posting thread itself is held up);
//  - the time from the moment the walk finds a host (the stand-in version 4
//    host copied into the last folder the walk visits) to the Browse page.
// Every figure is measured; the run fails (exit code 1) when the installer's
// walk does not visit exactly the folders the bare walk visits, or does not
// end where it must.
//
// Times are QueryPerformanceCounter readings. The installer's walk time runs
// from the moment the wizard's timer fires with the search job (tag 0), just
// before FindInstallPaths starts, to the moment the Browse page's show
// handler has finished, which FindInstallPaths runs as its last step. The
// walk times come from walks without any probe; the message figures and the
// find come from separate walks with the hook, the poster and a subclassed
// lblSearchPath, which make those walks slower. The find is the first message
// retrieval that sees InstallPath4 set (within about a millisecond of the
// assignment, as the poster keeps the queue filled).
//
// Usage: QuorletBench.exe [--runs=N] [--timeout-s=N] [--gap-goal-ms=N] [--enforce-goals]
//   --runs           timed runs of each walk after one warm-up walk (default 3)
//   --timeout-s      the whole run is abandoned after this long (default 3600)
//   --gap-goal-ms    the longest acceptable message gap (default 50)
//   --enforce-goals  exit with code 3 when the message gap misses its goal
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Unit1.h"
#include "win/Application.h"
#include "win/SystemLibrary.h"

namespace {

// Page indexes of the wizard, in the order the pages were added.
constexpr int kWelcomePage = 0;
constexpr int kInstallIntoPage = 2;
constexpr int kSearchingPage = 3;
constexpr int kBrowsePage = 4;

const char kHostName[] = "FileMaker Pro.exe";
const char kRecordKey[] = "SOFTWARE\\Holtaq!";
const char kStandInHost[] = "C:\\fixtures\\host-v4.exe";
const char kStandInVersion[] = "4.0v1";

// --- Clock -----------------------------------------------------------------

double g_msPerCount = 0;

double NowMs();

// Microseconds, modulo 2^32: fits a WPARAM on either architecture.
UINT32 NowUs32() { return static_cast<UINT32>(static_cast<unsigned long long>(NowMs() * 1000)); }

double NowMs() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * g_msPerCount;
}

void InitClock() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  g_msPerCount = 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Best(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string Join(const std::vector<double>& values) {
  std::string text;
  char number[32];
  for (double value : values) {
    std::snprintf(number, sizeof(number), "%.1f", value);
    if (!text.empty()) text += ',';
    text += number;
  }
  return text;
}

// --- Output ----------------------------------------------------------------

void Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Line(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int g_failures = 0;

void Fail(const std::string& what) {
  Line("error=%s", what.c_str());
  ++g_failures;
}

// --- Watchdog --------------------------------------------------------------

// The walk runs inside a message handler, out of reach of any loop here; a
// run that never ends is stopped from another thread.
class Watchdog {
 public:
  explicit Watchdog(int seconds)
      : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_([this, seconds] {
          if (WaitForSingleObject(done_, static_cast<DWORD>(seconds) * 1000) == WAIT_TIMEOUT) {
            Line("error=the run did not finish within %d s (phase: %s)", seconds, phase_.load());
            Line("result=failed");
            TerminateProcess(GetCurrentProcess(), 2);
          }
        }) {}
  ~Watchdog() {
    SetEvent(done_);
    thread_.join();
    CloseHandle(done_);
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  void SetPhase(const char* phase) { phase_ = phase; }

 private:
  HANDLE done_;
  std::atomic<const char*> phase_{"start"};
  std::thread thread_;
};

Watchdog* g_watchdog = nullptr;

void Phase(const char* phase) {
  if (g_watchdog) g_watchdog->SetPhase(phase);
}

// --- Drives and the bare walk ----------------------------------------------

std::vector<std::string> FixedDrives() {
  std::vector<std::string> drives;
  DWORD mask = GetLogicalDrives();
  for (int bit = 0; bit < 26; ++bit) {
    if (!(mask & (1u << bit))) continue;
    std::string root = "_:\\";
    root[0] = static_cast<char>('A' + bit);
    if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) drives.push_back(root);
  }
  return drives;
}

std::string DriveTypes() {
  static const char* const kNames[] = {"unknown", "none",  "removable", "fixed",
                                       "remote",  "cdrom", "ramdisk"};
  std::string text;
  DWORD mask = GetLogicalDrives();
  for (int bit = 0; bit < 26; ++bit) {
    if (!(mask & (1u << bit))) continue;
    std::string root = "_:\\";
    root[0] = static_cast<char>('A' + bit);
    UINT type = GetDriveTypeA(root.c_str());
    if (!text.empty()) text += ',';
    text += root.substr(0, 2) + (type < 7 ? kNames[type] : "other");
  }
  return text;
}

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The same folders in the same order as the installer: the host name first,
// then everything, entering folders that are not reparse points as they are
// listed.
class BareWalk {
 public:
  explicit BareWalk(bool keepFolders) : keepFolders_(keepFolders) {}

  double Run(const std::vector<std::string>& drives) {
    double start = NowMs();
    for (const std::string& drive : drives) Walk(drive, 0);
    ms = NowMs() - start;
    return ms;
  }

  double ms = 0;
  double hostCheckMs = 0;  // in the FindFirstFileA calls for the host name
  long folders = 0;
  long files = 0;
  long entries = 0;  // every entry listed, "." and ".." included
  long reparsePoints = 0;
  long hosts = 0;
  int maxDepth = 0;
  std::string lastFolder;
  std::vector<std::string> folderList;

 private:
  void Walk(const std::string& folder, int depth) {
    ++folders;
    maxDepth = std::max(maxDepth, depth);
    lastFolder = folder;
    if (keepFolders_) folderList.push_back(folder);
    WIN32_FIND_DATAA entry;
    double start = NowMs();
    HANDLE find = FindFirstFileA((folder + kHostName).c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        ++hosts;
      } while (FindNextFileA(find, &entry));
      FindClose(find);
    }
    hostCheckMs += NowMs() - start;
    find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      ++entries;
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ++files;
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        ++reparsePoints;
      } else if (!IsDotEntry(entry.cFileName)) {
        Walk(folder + entry.cFileName + "\\", depth + 1);
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }

  bool keepFolders_;
};

// --- Probes on the wizard window -------------------------------------------

// What the hooks see. They run on the window's own thread, as the walk does.
struct Probe {
  TfrmMain* form = nullptr;
  bool walking = false;
  double walkStart = -1;
  double browseHandlerStart = -1;  // the Browse page's show handler starts
  double browseShown = -1;         // and has finished

  // lblSearchPath, subclassed in probed walks: every folder the walk shows.
  long labelSets = 0;
  char labelText[2 * MAX_PATH] = {};
  std::string watchFolder;  // the host's folder, when one is placed
  double watchShown = -1;

  // The message hook: every retrieval during the walk.
  bool hooked = false;
  double lastRetrieval = 0;
  double maxGap = 0;
  double maxGapEnd = 0;  // from the walk's start
  char maxGapFolder[2 * MAX_PATH] = {};
  long retrievals = 0;
  long gapsOver16 = 0;
  long gapsOver50 = 0;
  // How long the poster's messages waited in the queue before retrieval.
  double maxWait = 0;
  long waitsOver50 = 0;
  double found = -1;  // the first retrieval that sees InstallPath4 set

  void NoteGap(double now) {
    double gap = now - lastRetrieval;
    if (gap > maxGap) {
      maxGap = gap;
      maxGapEnd = now - walkStart;
      lstrcpynA(maxGapFolder, labelText, sizeof(maxGapFolder));
    }
    if (gap > 16) ++gapsOver16;
    if (gap > 50) ++gapsOver50;
    lastRetrieval = now;
  }
};

Probe* g_probe = nullptr;
WNDPROC g_labelProc = nullptr;

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && g_probe && g_probe->walking && lParam) {
    Probe& probe = *g_probe;
    const char* text = reinterpret_cast<const char*>(lParam);
    ++probe.labelSets;
    lstrcpynA(probe.labelText, text, sizeof(probe.labelText));
    if (probe.watchShown < 0 && !probe.watchFolder.empty() && probe.watchFolder == text) {
      probe.watchShown = NowMs();
    }
  }
  return CallWindowProcA(g_labelProc, hwnd, message, wParam, lParam);
}

// Marks the poster's WM_NULL messages; their wParam is the time of posting.
constexpr LPARAM kPosterMark = 0x51524C54;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && g_probe && g_probe->walking) {
    Probe& probe = *g_probe;
    double now = NowMs();
    probe.NoteGap(now);
    ++probe.retrievals;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message == WM_NULL && msg->lParam == kPosterMark) {
      UINT32 posted = static_cast<UINT32>(msg->wParam);
      UINT32 nowUs = static_cast<UINT32>(static_cast<unsigned long long>(now * 1000));
      double wait = static_cast<UINT32>(nowUs - posted) / 1000.0;
      probe.maxWait = std::max(probe.maxWait, wait);
      if (wait > 50) ++probe.waitsOver50;
    }
    if (probe.found < 0 && !probe.form->InstallPath4.empty()) probe.found = now;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posts WM_NULL to the window about every millisecond, so that the window
// has something to retrieve whenever it looks.
class Poster {
 public:
  void Start(HWND target) {
    stop_ = false;
    thread_ = std::thread([this, target] {
      double last = NowMs();
      while (!stop_) {
        PostMessageA(target, WM_NULL, NowUs32(), kPosterMark);
        Sleep(1);
        double now = NowMs();
        maxInterval = std::max(maxInterval, now - last);
        sumInterval += now - last;
        ++posts;
        last = now;
      }
    });
  }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  ~Poster() { Stop(); }
  double MeanInterval() const { return posts ? sumInterval / static_cast<double>(posts) : 0; }

  long posts = 0;
  double maxInterval = 0;
  double sumInterval = 0;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// --- Driving the wizard ----------------------------------------------------

void Click(win::Control& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }

// Dispatches messages the way the installer does until done() holds.
bool PumpUntil(const std::function<bool()>& done, double timeoutMs) {
  double start = NowMs();
  while (!done()) {
    if (NowMs() - start > timeoutMs) return done();
    win::Application::Instance().ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(double milliseconds) {
  double start = NowMs();
  PumpUntil([&] { return NowMs() - start >= milliseconds; }, milliseconds + 1000);
}

bool RecordExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool DeleteRecord() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRecordKey);
  return !RecordExists();
}

// A wizard window that can be brought to the Install Into page with only
// version 4 checked; its timer and its Browse page are watched, and with
// subclassLabel its lblSearchPath too. The probe is current while it lives.
class Wizard {
 public:
  Wizard(Probe& probe, bool subclassLabel) : probe_(probe) {
    g_probe = &probe_;
    form_ = std::make_unique<TfrmMain>();
    frmMain = form_.get();
    probe_.form = form_.get();
    if (subclassLabel) {
      HWND label = form_->lblSearchPath.Handle();
      g_labelProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelProc)));
    }

    std::function<void()> onTimer = form_->tmrPause.onTimer;
    form_->tmrPause.onTimer = [this, onTimer] {
      if (form_->tmrPause.Enabled() && form_->tmrPause.Tag() == 0 && probe_.walkStart < 0) {
        probe_.walkStart = NowMs();
        probe_.lastRetrieval = probe_.walkStart;
        probe_.walking = true;
      }
      onTimer();
    };
    std::function<void()> onShow = form_->tabBrowse.onShow;
    form_->tabBrowse.onShow = [this, onShow] {
      if (probe_.walking) probe_.browseHandlerStart = NowMs();
      onShow();
      if (probe_.walking) {
        probe_.browseShown = NowMs();
        if (probe_.hooked) probe_.NoteGap(probe_.browseShown);
        probe_.walking = false;
      }
    };
  }

  ~Wizard() {
    if (g_labelProc) {
      SetWindowLongPtrA(form_->lblSearchPath.Handle(), GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(g_labelProc));
      g_labelProc = nullptr;
    }
    form_.reset();
    frmMain = nullptr;
    probe_.form = nullptr;
    PumpFor(50);
    g_probe = nullptr;
  }
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  TfrmMain& form() { return *form_; }

  // Welcome, then Install Into with only version 4 checked.
  bool ToInstallInto(std::string& error) {
    form_->Show();
    PumpFor(200);
    if (form_->tabsTabControl.ActivePageIndex() != kWelcomePage) {
      error = "the wizard did not start on the Welcome page";
      return false;
    }
    Click(form_->btnNext);
    if (form_->tabsTabControl.ActivePageIndex() != kInstallIntoPage) {
      error = "Next on the Welcome page did not lead to Install Into (is a host running?)";
      return false;
    }
    form_->chkInstall5.SetChecked(false);
    form_->chkInstall4.SetChecked(true);
    PumpFor(50);
    return true;
  }

  // Next on Install Into: the Searching page, whose timer starts the walk.
  bool ToSearching(std::string& error) {
    Click(form_->btnNext);
    if (form_->tabsTabControl.ActivePageIndex() != kSearchingPage) {
      error = "Next on Install Into did not lead to the Searching page";
      return false;
    }
    return true;
  }

 private:
  Probe& probe_;
  std::unique_ptr<TfrmMain> form_;
};

struct WalkRun {
  bool ok = false;
  double walkMs = 0;
  Probe probe;
  std::string lastLabel;  // lblSearchPath at the end: the last folder shown
  std::string installPath4;
  std::string edit4;
  long posts = 0;
  double postMean = 0;
  double postMax = 0;
};

// One walk of the installer from Next on Install Into to the Browse page.
// A probed walk has the message hook, the WM_NULL poster and the subclassed
// label throughout; an unprobed one runs the wizard as it is.
void RunInstallerWalk(bool probing, const std::string& hostFolder, WalkRun& run) {
  if (!DeleteRecord()) {
    Fail("the install record HKLM\\SOFTWARE\\Holtaq! could not be deleted");
    return;
  }
  Probe& probe = run.probe;
  probe.watchFolder = hostFolder;
  Wizard wizard(probe, probing);
  TfrmMain& form = wizard.form();
  std::string error;
  if (!wizard.ToInstallInto(error)) {
    Fail(error);
    return;
  }
  HHOOK hook = nullptr;
  Poster poster;
  if (probing) {
    hook = SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
    if (!hook) {
      Fail("the message hook could not be installed");
      return;
    }
    probe.hooked = true;
    poster.Start(form.Handle());
  }
  auto ended = [&] {
    return form.tabsTabControl.ActivePageIndex() == kBrowsePage || form.Closed();
  };
  bool reached = wizard.ToSearching(error) && PumpUntil(ended, 24.0 * 3600 * 1000);
  poster.Stop();
  if (hook) UnhookWindowsHookEx(hook);
  run.posts = poster.posts;
  run.postMean = poster.MeanInterval();
  run.postMax = poster.maxInterval;
  run.lastLabel = form.lblSearchPath.Text();
  run.installPath4 = form.InstallPath4;
  run.edit4 = form.edtInstall4Path.Text();
  if (!error.empty()) {
    Fail(error);
  } else if (!reached || form.tabsTabControl.ActivePageIndex() != kBrowsePage) {
    Fail("the walk did not end on the Browse page");
  } else if (probe.walkStart < 0 || probe.browseShown < 0) {
    Fail("the start or the end of the walk was not seen");
  } else {
    run.ok = true;
    run.walkMs = probe.browseShown - probe.walkStart;
  }
}

// Checks that the installer walked the same folders as the bare walk.
bool SameFolders(const WalkRun& run, const BareWalk& bare, const char* name) {
  bool ok = true;
  if (run.probe.hooked && run.probe.labelSets != bare.folders) {
    Fail(std::string(name) + ": the installer showed " + std::to_string(run.probe.labelSets) +
         " folders, the bare walk visited " + std::to_string(bare.folders));
    ok = false;
  }
  if (bare.lastFolder != run.lastLabel) {
    Fail(std::string(name) + ": the installer's last folder was '" + run.lastLabel +
         "', the bare walk's '" + bare.lastFolder + "'");
    ok = false;
  }
  return ok;
}

// --- Where the installer's time goes ---------------------------------------

struct Attribution {
  bool ok = false;
  double processMessagesUs = 0;  // ProcessMessages with nothing waiting
  double labelUpdateUs = 0;      // lblSearchPath.SetText, then ProcessMessages (paints)
  double labelSetOnlyUs = 0;     // lblSearchPath.SetText alone
  double versionReadMs = 0;      // GetFileVersionString of the stand-in host
  std::string version;
  long samples = 0;
};

// On the Searching page with its timer stopped, the operations the walk
// repeats, each timed alone.
Attribution MeasureAttribution(const std::vector<std::string>& folders) {
  Attribution result;
  if (!DeleteRecord()) {
    Fail("attribution: the install record could not be deleted");
    return result;
  }
  Probe probe;
  {
    std::string error;
    Wizard wizard(probe, false);
    TfrmMain& form = wizard.form();
    if (!wizard.ToInstallInto(error) || !wizard.ToSearching(error)) {
      Fail("attribution: " + error);
      return result;
    }
    form.tmrPause.SetEnabled(false);
    PumpFor(300);
    win::Application& application = win::Application::Instance();

    const int calls = 20000;
    double start = NowMs();
    for (int i = 0; i < calls; ++i) application.ProcessMessages();
    result.processMessagesUs = (NowMs() - start) * 1000 / calls;

    size_t count = std::min<size_t>(folders.size(), 3000);
    result.samples = static_cast<long>(count);
    if (count > 0) {
      start = NowMs();
      for (size_t i = 0; i < count; ++i) {
        form.lblSearchPath.SetText(folders[i]);
        application.ProcessMessages();
      }
      result.labelUpdateUs = (NowMs() - start) * 1000 / static_cast<double>(count);
      PumpFor(100);
      start = NowMs();
      for (size_t i = 0; i < count; ++i) form.lblSearchPath.SetText(folders[count - 1 - i]);
      result.labelSetOnlyUs = (NowMs() - start) * 1000 / static_cast<double>(count);
      PumpFor(100);
    }

    const int reads = 20;
    start = NowMs();
    for (int i = 0; i < reads; ++i) result.version = form.GetFileVersionString(kStandInHost);
    result.versionReadMs = (NowMs() - start) / reads;
    result.ok = true;
  }
  return result;
}

// --- The run ---------------------------------------------------------------

struct Options {
  int runs = 3;
  int timeoutSeconds = 3600;
  double gapGoalMs = 50;
  bool enforceGoals = false;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      size_t length = std::strlen(name);
      return arg.compare(0, length, name) == 0 ? arg.c_str() + length : nullptr;
    };
    if (const char* v = value("--runs=")) {
      options.runs = std::max(1, std::atoi(v));
    } else if (const char* v = value("--timeout-s=")) {
      options.timeoutSeconds = std::max(10, std::atoi(v));
    } else if (const char* v = value("--gap-goal-ms=")) {
      options.gapGoalMs = std::atof(v);
    } else if (arg == "--enforce-goals") {
      options.enforceGoals = true;
    } else {
      std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
      return false;
    }
  }
  return true;
}

std::string WineVersion() {
  using WineGetVersion = const char*(CDECL*)();
  auto get = reinterpret_cast<WineGetVersion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
  return get ? get() : "none";
}

// The stand-in host in the last folder of the walk, removed again however
// the run ends short of the process being killed.
class PlacedHost {
 public:
  explicit PlacedHost(const std::string& folder) : path_(folder + kHostName) {
    placed_ = CopyFileA(kStandInHost, path_.c_str(), FALSE) != 0;
  }
  ~PlacedHost() {
    if (placed_) DeleteFileA(path_.c_str());
  }
  PlacedHost(const PlacedHost&) = delete;
  PlacedHost& operator=(const PlacedHost&) = delete;
  bool placed() const { return placed_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool placed_ = false;
};

void ReportProbe(const char* prefix, const WalkRun& run) {
  const Probe& p = run.probe;
  Line("%s_walk_ms=%.1f", prefix, run.walkMs);
  Line("%s_max_message_gap_ms=%.2f", prefix, p.maxGap);
  Line("%s_max_message_gap_ended_at_ms=%.1f", prefix, p.maxGapEnd);
  Line("%s_max_message_gap_folder=%s", prefix, p.maxGapFolder);
  Line("%s_gaps_over_16ms=%ld", prefix, p.gapsOver16);
  Line("%s_gaps_over_50ms=%ld", prefix, p.gapsOver50);
  Line("%s_message_retrievals=%ld", prefix, p.retrievals);
  Line("%s_max_message_wait_ms=%.2f", prefix, p.maxWait);
  Line("%s_waits_over_50ms=%ld", prefix, p.waitsOver50);
  Line("%s_poster_interval_mean_ms=%.3f", prefix, run.postMean);
  Line("%s_poster_interval_max_ms=%.2f", prefix, run.postMax);
}

int RunBenchmark(const Options& options) {
  Line("# Quorlet walk benchmark");
  SYSTEM_INFO system;
  GetNativeSystemInfo(&system);
  Line("wine_version=%s", WineVersion().c_str());
  Line("pointer_bits=%d", static_cast<int>(sizeof(void*) * 8));
  Line("processors=%lu", static_cast<unsigned long>(system.dwNumberOfProcessors));
  Line("drive_types=%s", DriveTypes().c_str());
  std::vector<std::string> drives = FixedDrives();
  std::string driveList;
  for (const std::string& drive : drives) driveList += (driveList.empty() ? "" : ",") + drive;
  Line("walked_drives=%s", driveList.c_str());
  Line("timed_runs=%d (after one warm-up walk each; best and median reported)", options.runs);
  if (drives.empty()) {
    Fail("no fixed drive to walk");
    return 1;
  }
  if (GetFileAttributesA(kStandInHost) == INVALID_FILE_ATTRIBUTES) {
    Fail(std::string("the stand-in host is missing: ") + kStandInHost);
    return 1;
  }

  // The bare walk: warm-up first (it also lists the folders), then timed.
  Phase("bare walk");
  BareWalk tree(true);
  tree.Run(drives);
  Line("fixture_folders=%ld", tree.folders);
  Line("fixture_files=%ld", tree.files);
  Line("fixture_entries_listed=%ld", tree.entries);
  Line("fixture_reparse_points=%ld", tree.reparsePoints);
  Line("fixture_max_depth=%d", tree.maxDepth);
  Line("fixture_last_folder=%s", tree.lastFolder.c_str());
  Line("walk_bare_warmup_ms=%.1f", tree.ms);
  if (tree.hosts != 0) {
    Fail("a host is already in the walked tree; the no-host walk would not cover it all");
    return 1;
  }
  std::vector<double> bareTimes, bareHostChecks;
  for (int i = 0; i < options.runs; ++i) {
    BareWalk bare(false);
    bareTimes.push_back(bare.Run(drives));
    bareHostChecks.push_back(bare.hostCheckMs);
    if (bare.folders != tree.folders || bare.entries != tree.entries) {
      Fail("the bare walks disagree about the tree");
    }
  }
  size_t bestBare =
      static_cast<size_t>(std::min_element(bareTimes.begin(), bareTimes.end()) - bareTimes.begin());
  Line("walk_bare_ms_runs=%s", Join(bareTimes).c_str());
  Line("walk_bare_ms=%.1f", bareTimes[bestBare]);
  Line("walk_bare_median_ms=%.1f", Median(bareTimes));
  Line("walk_bare_host_check_ms=%.1f", bareHostChecks[bestBare]);
  Line("walk_bare_listing_ms=%.1f", bareTimes[bestBare] - bareHostChecks[bestBare]);

  // The installer's walk, without probes: a warm-up walk, then timed walks.
  std::vector<double> installerTimes;
  for (int i = 0; i <= options.runs; ++i) {
    Phase(i == 0 ? "installer warm-up walk" : "installer timed walk");
    WalkRun run;
    RunInstallerWalk(false, std::string(), run);
    if (!run.ok) return 1;
    if (!SameFolders(run, tree, "installer walk")) return 1;
    if (!run.installPath4.empty() || !run.edit4.empty()) {
      Fail("the no-host walk found a version 4 host at '" + run.installPath4 + "'");
      return 1;
    }
    if (i == 0) {
      Line("walk_installer_warmup_ms=%.1f", run.walkMs);
    } else {
      installerTimes.push_back(run.walkMs);
    }
  }
  double installer = Best(installerTimes);
  double bare = bareTimes[bestBare];
  Line("walk_installer_ms_runs=%s", Join(installerTimes).c_str());
  Line("walk_installer_ms=%.1f", installer);
  Line("walk_installer_median_ms=%.1f", Median(installerTimes));
  Line("walk_installer_folders=%ld", tree.folders);
  Line("ratio=%.2f", bare > 0 ? installer / bare : 0.0);
  Line("walk_installer_us_per_folder=%.1f", installer * 1000 / static_cast<double>(tree.folders));

  // Responsiveness: the same walk with the message hook and the poster.
  Phase("probed walk");
  WalkRun probed;
  RunInstallerWalk(true, std::string(), probed);
  if (!probed.ok || !SameFolders(probed, tree, "probed walk")) return 1;
  ReportProbe("probed", probed);

  // The host in the last folder: from the find to the Browse page.
  Phase("walk with a host");
  WalkRun withHost;
  {
    PlacedHost host(tree.lastFolder);
    if (!host.placed()) {
      Fail("the stand-in host could not be copied to " + host.path());
      return 1;
    }
    Line("host_placed_at=%s", host.path().c_str());
    RunInstallerWalk(true, tree.lastFolder, withHost);
  }
  if (GetFileAttributesA((tree.lastFolder + kHostName).c_str()) != INVALID_FILE_ATTRIBUTES) {
    Fail("the stand-in host could not be removed from the fixture tree");
  }
  if (!withHost.ok || !SameFolders(withHost, tree, "walk with a host")) return 1;
  std::string expected = tree.lastFolder + "System\\";
  if (withHost.installPath4 != expected || withHost.edit4 != expected) {
    Fail("the walk with a host found '" + withHost.installPath4 + "' (shown: '" + withHost.edit4 +
         "'), not '" + expected + "'");
    return 1;
  }
  if (withHost.probe.found < 0 || withHost.probe.watchShown < 0) {
    Fail("the moment of the find was not seen");
    return 1;
  }
  ReportProbe("host", withHost);
  Line("host_install_path4=%s", withHost.installPath4.c_str());
  double findToBrowse = withHost.probe.browseShown - withHost.probe.found;
  double shownToBrowse = withHost.probe.browseShown - withHost.probe.watchShown;
  Line("find_to_browse_ms=%.2f", findToBrowse);
  Line("host_folder_shown_to_browse_ms=%.2f", shownToBrowse);
  Line("find_seen_after_folder_shown_ms=%.2f", withHost.probe.found - withHost.probe.watchShown);
  Line("find_to_browse_handler_start_ms=%.2f",
       withHost.probe.browseHandlerStart - withHost.probe.found);
  Line("browse_show_handler_ms=%.2f",
       withHost.probe.browseShown - withHost.probe.browseHandlerStart);

  double maxGap = std::max(probed.probe.maxGap, withHost.probe.maxGap);
  Line("max_message_gap_ms=%.2f", maxGap);
  Line("max_message_wait_ms=%.2f", std::max(probed.probe.maxWait, withHost.probe.maxWait));
  Line("max_message_gap_goal_ms=%.0f", options.gapGoalMs);
  Line("max_message_gap_ok=%s", maxGap < options.gapGoalMs ? "yes" : "no");

  // Where the time goes.
  Phase("attribution");
  Attribution parts = MeasureAttribution(tree.folderList);
  if (parts.ok) {
    Line("process_messages_idle_us=%.2f", parts.processMessagesUs);
    Line("label_update_and_paint_us=%.1f", parts.labelUpdateUs);
    Line("label_set_text_only_us=%.1f", parts.labelSetOnlyUs);
    Line("label_samples=%ld", parts.samples);
    Line("file_version_read_ms=%.3f", parts.versionReadMs);
    if (parts.version != kStandInVersion) {
      Fail("the stand-in host's FileVersion read as '" + parts.version + "'");
    }
    // The walk gives the label a text per folder and lets it paint and
    // resize when messages are processed, at most once an interval.
    double labelSets = static_cast<double>(tree.folders) * parts.labelSetOnlyUs / 1000;
    double pumps = installer / win::Application::kMessageIntervalMs;
    double labelPaints = pumps * parts.labelUpdateUs / 1000;
    Line("estimate_label_set_part_ms=%.1f", labelSets);
    Line("estimate_label_paint_part_ms=%.1f (at most, a paint every %d ms)", labelPaints,
         win::Application::kMessageIntervalMs);
    Line("estimate_label_share_of_installer=%.2f", (labelSets + labelPaints) / installer);
  }

  if (g_failures > 0) {
    Line("result=failed");
    return 1;
  }
  if (options.enforceGoals && maxGap >= options.gapGoalMs) {
    Line("result=goal-missed");
    return 3;
  }
  Line("result=ok");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  // Plain LF line ends, whatever reads the output on the other side.
  _setmode(_fileno(stdout), _O_BINARY);
  InitClock();
  win::RestrictDllSearchToSystemFolder();
  win::Application::Instance().Initialize();
  Watchdog watchdog(options.timeoutSeconds);
  g_watchdog = &watchdog;
  int status = RunBenchmark(options);
  g_watchdog = nullptr;
  return status;
}
