#include "win/SystemLibrary.h"

#include <string>

namespace win {

namespace {

std::string SystemFolderPath(const char* name) {
  char folder[MAX_PATH];
  UINT len = GetSystemDirectoryA(folder, MAX_PATH);
  if (len == 0 || len >= MAX_PATH) return {};
  std::string path(folder, len);
  if (path.back() != '\\') path += '\\';
  return path + name;
}

}  // namespace

void RestrictDllSearchToSystemFolder() {
  // kernel32 is always loaded; looking the functions up keeps the program
  // starting on systems that predate them.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  auto setDirectory = reinterpret_cast<SetDllDirectoryFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory) setDirectory("");
}

UniqueModule LoadSystemLibrary(const char* name) {
  std::string path = SystemFolderPath(name);
  if (path.empty()) return UniqueModule();
  // A full path never searches; the flag stops the DLL's own imports from
  // being looked up beside it.
  return UniqueModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace win
