#include "win/Registry.h"

#include <vector>

#include "win/Exception.h"

namespace win {

void Registry::SetRootKey(HKEY root) {
  if (root == root_) return;
  CloseKey();
  root_ = root;
}

HKEY Registry::BaseFor(const std::string& key, std::string& relative) const {
  bool fromRoot = !key.empty() && key.front() == '\\';
  relative = fromRoot ? key.substr(1) : key;
  return (!fromRoot && current_) ? current_.get() : root_;
}

bool Registry::OpenKey(const std::string& key, bool canCreate) {
  std::string relative;
  HKEY base = BaseFor(key, relative);
  HKEY opened = nullptr;
  LONG status;
  if (canCreate) {
    status = RegCreateKeyExA(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &opened, nullptr);
  } else {
    status = RegOpenKeyExA(base, relative.c_str(), 0, KEY_ALL_ACCESS, &opened);
  }
  if (status != ERROR_SUCCESS) return false;
  current_.reset(opened);
  return true;
}

void Registry::CloseKey() { current_.reset(); }

bool Registry::KeyExists(const std::string& key) {
  std::string relative;
  HKEY base = BaseFor(key, relative);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, relative.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(opened);
  return true;
}

bool Registry::ValueExists(const std::string& name) {
  if (!current_) return false;
  return RegQueryValueExA(current_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::string Registry::ReadString(const std::string& name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (!current_ ||
      RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return {};
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    throw Exception("Invalid data type for '" + name + "'");
  }
  // The stored data need not end in a NUL; one more byte guarantees it.
  std::vector<char> data(size + 1, '\0');
  DWORD got = size;
  if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS) {
    return {};
  }
  return std::string(data.data());
}

void Registry::WriteString(const std::string& name, const std::string& value) {
  LONG status = current_ ? RegSetValueExA(current_.get(), name.c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>(value.size() + 1))
                         : ERROR_INVALID_HANDLE;
  if (status != ERROR_SUCCESS) throw Exception("Failed to set data for '" + name + "'");
}

}  // namespace win
