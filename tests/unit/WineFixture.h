// What the tests need around the real window: message pumping with a
// deadline, answering message boxes from a second thread, stand-in host
// processes, HKLM keys and folders on the fixture drives.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Unit1.h"

namespace fixture {

// Dispatches messages until done() holds or the timeout passes; returns
// done() at the end.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);
void PumpFor(int milliseconds);

// Clicks a button the way the user does: through the button's own window
// procedure, which notifies the parent.
void Click(win::Control& button);

// Watches for the next message box of this process and answers it from
// another thread, recording what it showed.
class BoxAnswerer {
 public:
  enum class Press { Ok, Yes, No, Escape };
  explicit BoxAnswerer(Press press, int timeoutMs = 20000);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  // Waits until the box has been answered (or the watch timed out).
  bool Answered();
  std::string Title() const { return title_; }
  std::string Text() const { return text_; }
  bool HasButton(int id) const;
  int DefaultButton() const { return defaultButton_; }
  RECT Bounds() const { return bounds_; }
  bool OwnerWasDisabled() const { return ownerDisabled_; }

 private:
  void Watch(Press press, int timeoutMs);
  static void PressButton(HWND box, Press press);
  std::atomic<bool> answered_{false};
  std::string title_;
  std::string text_;
  std::vector<int> buttons_;
  int defaultButton_ = 0;
  RECT bounds_{};
  bool ownerDisabled_ = false;
  DWORD process_ = GetCurrentProcessId();
  // Last, so every member the watching thread reads exists before it starts.
  std::thread thread_;
};

// A stand-in host started from C:\fixtures, stopped again at the end.
class HostProcess {
 public:
  // variant: v4, v5, v6 or none; waits until its main window exists.
  explicit HostProcess(const std::string& variant, const char* windowClass);
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;
  bool Started() const { return started_; }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

// HKLM keys of the test, deleted again at the end.
class ScopedKeys {
 public:
  ScopedKeys() = default;
  ~ScopedKeys();
  ScopedKeys(const ScopedKeys&) = delete;
  ScopedKeys& operator=(const ScopedKeys&) = delete;
  void Create(const std::string& key);
  void SetString(const std::string& key, const std::string& name, const std::string& value,
                 DWORD type = REG_SZ);
  void SetDword(const std::string& key, const std::string& name, DWORD value);

 private:
  std::vector<std::string> keys_;
};

std::string ReadHklmString(const std::string& key, const std::string& name, bool* found = nullptr);
void DeleteHklmTree(const std::string& key);

inline const char* kVersion4Key = "SOFTWARE\\Claris Corp.\\FileMaker Pro\\4.0";
inline const char* kVersion5Key = "SOFTWARE\\FileMaker Inc.\\FileMaker Pro\\5.0";
inline const char* kRecordKey = "SOFTWARE\\Holtaq!";

// Files and folders on the fixture drives.
bool MakeFolders(const std::string& path);
bool PlaceHost(const std::string& folder, const std::string& variant);
void DeleteTree(const std::string& path);
bool FolderExists(const std::string& path);

// Client rectangle of a control relative to its parent's client area.
RECT RectInParent(const win::Control& control);

// The real wizard window on its Welcome page, with no install record left
// from an earlier test.
class WizardTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  int Page() const { return frm->tabsTabControl.ActivePageIndex(); }
  // Welcome -> Install Into with no host running.
  void GoToInstallInto();
  // Install Into -> Searching -> Browse, with both folders remembered so
  // that no drive is walked.
  void GoToBrowse(bool version4, bool version5);

  std::unique_ptr<TfrmMain> frm;
  ScopedKeys keys;
};

}  // namespace fixture
