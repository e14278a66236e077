// TfrmMain: the install record, the folders remembered from an earlier run.
#include <windows.h>

#include "Unit1.h"

namespace {

const char kRecordKey[] = "\\SOFTWARE\\Holtaq!";
const char kVersion4Value[] = "InstallDir";
const char kVersion5Value[] = "InstallDir5";

bool FolderExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void TfrmMain::ReadInstallRecord() {
  RegistrySession reg(*this);
  if (!reg->KeyExists(kRecordKey)) return;
  reg->OpenKey(kRecordKey, false);
  if (reg->ValueExists(kVersion4Value)) {
    std::string folder = reg->ReadString(kVersion4Value);
    if (FolderExists(folder)) InstallPath4 = folder;
  }
  if (reg->ValueExists(kVersion5Value)) {
    std::string folder = reg->ReadString(kVersion5Value);
    if (FolderExists(folder)) InstallPath5 = folder;
  }
  reg->CloseKey();
}

void TfrmMain::WriteInstallRecord() {
  RegistrySession reg(*this);
  reg->OpenKey(kRecordKey, true);
  if (chkInstall4.Checked()) reg->WriteString(kVersion4Value, edtInstall4Path.Text());
  if (chkInstall5.Checked()) reg->WriteString(kVersion5Value, edtInstall5Path.Text());
  reg->CloseKey();
}
