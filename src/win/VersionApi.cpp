#include "win/VersionApi.h"

#include "win/SystemLibrary.h"

namespace win {

namespace {

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

const VersionApi& VersionApi::Instance() {
  static const VersionApi api;
  return api;
}

VersionApi::VersionApi() : module_(LoadSystemLibrary("version.dll")) {
  if (!module_) return;
  Bind(module_.get(), "GetFileVersionInfoSizeA", sizeA_);
  Bind(module_.get(), "GetFileVersionInfoA", infoA_);
  Bind(module_.get(), "VerQueryValueA", queryA_);
}

DWORD VersionApi::GetFileVersionInfoSize(const char* file) const {
  DWORD handle = 0;
  return sizeA_ ? sizeA_(file, &handle) : 0;
}

bool VersionApi::GetFileVersionInfo(const char* file, DWORD size, void* data) const {
  return infoA_ && infoA_(file, 0, size, data);
}

bool VersionApi::VerQueryValue(const void* block, const char* subBlock, void** buffer,
                               UINT* len) const {
  return queryA_ && queryA_(block, subBlock, buffer, len);
}

}  // namespace win
