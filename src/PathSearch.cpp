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

// File names compare as the file system compares them: without regard to
// case, and the same in every locale (a Turkish i is still an I here).
bool SameFileName(const char* a, const char* b) {
  auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
  for (; *a && *b; ++a, ++b) {
    if (fold(static_cast<unsigned char>(*a)) != fold(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
}

// What a literal name given to FindFirstFileA would match: the entry's own
// name or its short name.
bool IsNamed(const WIN32_FIND_DATAA& entry, const std::string& name) {
  return SameFileName(entry.cFileName, name.c_str()) ||
         (entry.cAlternateFileName[0] && SameFileName(entry.cAlternateFileName, name.c_str()));
}

void ProcessMessages() { win::Application::Instance().ProcessMessages(); }
void ProcessMessagesWhenDue() { win::Application::Instance().ProcessMessagesWhenDue(); }

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

// Each folder is listed once. The host check and the subfolders are taken
// from that one listing, in the order a listing for the host's name and then
// one for "*" would give them: the host check first, then every subfolder in
// listing order, each walked completely before the next.
void TfrmMain::SearchForHost(const std::string& folder, const std::string& fileName) {
  lblSearchPath.SetText(folder);
  FolderListing listing;
  if (ReadFolder(folder, fileName, listing)) {
    for (int match = 0; match < listing.hostMatches && !StopSearch; ++match) {
      CheckHost(folder, fileName);
    }
    // Each subfolder's walk ends by processing messages when they are due;
    // the stop test follows it.
    for (size_t i = 0; i < listing.subfolders.size() && !StopSearch; ++i) {
      SearchForHost(folder + listing.subfolders[i] + "\\", fileName);
    }
  }
  ProcessMessagesWhenDue();
}

// Reads the folder's entries, keeping the subfolders to walk and counting the
// entries that carry the host's name. False when the folder cannot be listed
// (no access, path too long) or the user stopped the search meanwhile.
bool TfrmMain::ReadFolder(const std::string& folder, const std::string& fileName,
                          FolderListing& listing) {
  WIN32_FIND_DATAA entry;
  win::UniqueFind entries(FindFirstFileA((folder + "*").c_str(), &entry));
  if (!entries) return false;
  // A path the host's name would make too long cannot be checked.
  const bool checkable = folder.size() + fileName.size() < MAX_PATH;
  do {
    if (checkable && IsNamed(entry, fileName)) ++listing.hostMatches;
    if (IsFolderToEnter(entry)) listing.subfolders.emplace_back(entry.cFileName);
    // A folder of many thousand entries takes a while to read.
    ProcessMessagesWhenDue();
    if (StopSearch) return false;
  } while (FindNextFileA(entries.get(), &entry));
  return true;
}

// The host's FileVersion tells which version's folder this is; anything
// else found under the host's name is passed over.
void TfrmMain::CheckHost(const std::string& folder, const std::string& fileName) {
  std::string version = GetFileVersionString(folder + fileName);
  if (!version.empty() && version[0] == '4') {
    InstallPath4 = folder + kSystemFolder;
  } else if (!version.empty() && version[0] == '5') {
    InstallPath5 = folder + kSystemFolder;
  }
  UpdateSearchDone();
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
