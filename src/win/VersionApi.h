// version.dll, bound at run time from the system folder (see SystemLibrary.h).
#pragma once

#include <windows.h>

#include "win/Handles.h"

namespace win {

class VersionApi {
 public:
  // The process-wide binding; loaded on first use and kept until exit.
  static const VersionApi& Instance();

  bool Loaded() const { return sizeA_ && infoA_ && queryA_; }
  DWORD GetFileVersionInfoSize(const char* file) const;
  bool GetFileVersionInfo(const char* file, DWORD size, void* data) const;
  bool VerQueryValue(const void* block, const char* subBlock, void** buffer, UINT* len) const;

 private:
  VersionApi();

  UniqueModule module_;
  DWORD(WINAPI* sizeA_)(LPCSTR, LPDWORD) = nullptr;
  BOOL(WINAPI* infoA_)(LPCSTR, DWORD, DWORD, LPVOID) = nullptr;
  BOOL(WINAPI* queryA_)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;
};

}  // namespace win
