// TfrmMain: which FileMaker Pro versions run, and which are installed.
#include <windows.h>

#include "Unit1.h"

namespace {

struct HostVersion {
  const char* windowClass;  // version 4's main window class carries a 3
  const char* presenceKey;  // below HKEY_LOCAL_MACHINE
};

const HostVersion kVersion4{"FMPRO3APP", "SOFTWARE\\Claris Corp.\\FileMaker Pro\\4.0"};
const HostVersion kVersion5{"FMPRO5APP", "SOFTWARE\\FileMaker Inc.\\FileMaker Pro\\5.0"};

bool IsRunning(const HostVersion& host) {
  return FindWindowA(host.windowClass, nullptr) != nullptr;
}

}  // namespace

void TfrmMain::DetectRunningHosts() {
  RunningHosts.clear();
  if (IsRunning(kVersion4)) RunningHosts = "FileMaker Pro 4 is ";
  if (!IsRunning(kVersion5)) return;
  RunningHosts =
      RunningHosts.empty() ? "FileMaker Pro 5 is " : "FileMaker Pro 4 and FileMaker Pro 5 are";
}

void TfrmMain::DetectInstalledHosts() {
  RegistrySession reg(*this);
  HasVersion4 = reg->KeyExists(kVersion4.presenceKey);
  HasVersion5 = reg->KeyExists(kVersion5.presenceKey);
  // With neither key found, offer both rather than nothing.
  if (!HasVersion4 && !HasVersion5) {
    HasVersion4 = true;
    HasVersion5 = true;
  }
}
