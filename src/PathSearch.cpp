// TfrmMain: the Searching page. Remembered folders come first; whatever is
// still missing is looked for by walking every fixed drive for the host.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "Unit1.h"
#include "win/Application.h"
#include "win/Handles.h"
#include "win/VersionApi.h"

namespace {

const char kHostExecutable[] = "FileMaker Pro.exe";
const char kSystemFolder[] = "System\\";

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Junctions, symbolic links and mounted folders are not entered: a link to
// an ancestor would send the walk round the same folders without end.
bool IsFolderToEnter(const WIN32_FIND_DATAA& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsDotEntry(entry.cFileName);
}

void ProcessMessages() { win::Application::Instance().ProcessMessages(); }

}  // namespace

void TfrmMain::tabSearchingShow(win::Control*) {
  btnNext.SetVisible(false);
  btnBack.SetVisible(false);
  lblSearchPath.SetText("");
  ProcessMessages();
  tmrPause.SetTag(0);
  tmrPause.SetEnabled(true);
}

void TfrmMain::FindInstallPaths() {
  InstallPath4.clear();
  InstallPath5.clear();
  ReadInstallRecord();
  UpdateSearchDone();
  if (!StopSearch) {
    ExitRequested = false;
    StopSearch = false;
    std::vector<std::string> drives;
    Searching = true;
    ListFixedDrives(drives);
    for (const std::string& drive : drives) {
      if (StopSearch) break;
      SearchForHost(drive, kHostExecutable);
    }
    Searching = false;
  }
  if (ExitRequested) {
    SetupComplete = true;
    Close();
  } else {
    tabsTabControl.SetActivePage(tabBrowse);
  }
}

void TfrmMain::ListFixedDrives(std::vector<std::string>& list) {
  list.clear();
  DWORD mask = GetLogicalDrives();
  for (int bit = 0; bit < 26; ++bit) {
    if (!(mask & (1u << bit))) continue;
    std::string root = "_:\\";
    root[0] = static_cast<char>('A' + bit);
    if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) list.push_back(root);
  }
}

void TfrmMain::SearchForHost(const std::string& folder, const std::string& fileName) {
  lblSearchPath.SetText(folder);
  WIN32_FIND_DATAA entry;
  win::UniqueFind hosts(FindFirstFileA((folder + fileName).c_str(), &entry));
  if (hosts) {
    do {
      std::string version = GetFileVersionString(folder + fileName);
      if (!version.empty() && version[0] == '4') {
        InstallPath4 = folder + kSystemFolder;
      } else if (!version.empty() && version[0] == '5') {
        InstallPath5 = folder + kSystemFolder;
      }
      UpdateSearchDone();
      ProcessMessages();
    } while (FindNextFileA(hosts.get(), &entry) && !StopSearch);
    hosts.reset();
  }
  if (!StopSearch) {
    win::UniqueFind entries(FindFirstFileA((folder + "*").c_str(), &entry));
    if (entries) {
      do {
        if (IsFolderToEnter(entry)) SearchForHost(folder + entry.cFileName + "\\", fileName);
        ProcessMessages();
      } while (FindNextFileA(entries.get(), &entry) && !StopSearch);
    }
  }
  ProcessMessages();
}

void TfrmMain::UpdateSearchDone() {
  bool version4Done = !chkInstall4.Checked() || !InstallPath4.empty();
  bool version5Done = !chkInstall5.Checked() || !InstallPath5.empty();
  StopSearch = (version4Done && version5Done) || ExitRequested;
}

std::string TfrmMain::GetFileVersionString(const std::string& fileName) {
  const win::VersionApi& api = win::VersionApi::Instance();
  DWORD size = api.GetFileVersionInfoSize(fileName.c_str());
  if (size == 0) return {};
  std::vector<char> info(size);
  if (!api.GetFileVersionInfo(fileName.c_str(), size, info.data())) return {};

  void* table = nullptr;
  UINT tableLength = 0;
  if (!api.VerQueryValue(info.data(), "\\VarFileInfo\\Translation", &table, &tableLength) ||
      tableLength < 4) {
    return {};
  }
  DWORD translation = *static_cast<const DWORD*>(table);
  // Language in the low half, code page in the high half: the block name
  // wants the language first.
  unsigned long key = (translation & 0xFFFFu) << 16 | (translation >> 16);
  char path[64];
  std::snprintf(path, sizeof(path), "\\StringFileInfo\\%08lx\\FileVersion", key);

  void* value = nullptr;
  UINT valueLength = 0;
  if (!api.VerQueryValue(info.data(), path, &value, &valueLength)) return {};
  std::string copy(static_cast<const char*>(value), valueLength);
  return std::string(copy.c_str());
}
