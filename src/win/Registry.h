// The registry class: one root key, one current key at a time, every key
// opened with full access. A key path with a leading backslash is taken from
// the root; one without it from the current key when one is open.
#pragma once

#include <windows.h>

#include <string>

#include "win/Handles.h"

namespace win {

class Registry {
 public:
  Registry() = default;
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;
  ~Registry() = default;

  void SetRootKey(HKEY root);
  HKEY RootKey() const { return root_; }
  HKEY CurrentKey() const { return current_.get(); }

  // Opens key as the current key, creating it when canCreate is set.
  bool OpenKey(const std::string& key, bool canCreate);
  void CloseKey();
  // True if key can be opened with full access; the current key stays.
  bool KeyExists(const std::string& key);
  bool ValueExists(const std::string& name);

  // REG_SZ or REG_EXPAND_SZ (taken unexpanded); data of length 0 of any
  // type, or no such value, gives the empty text. Any other type raises
  // "Invalid data type for '<name>'".
  std::string ReadString(const std::string& name);
  // Raises "Failed to set data for '<name>'" when the write fails.
  void WriteString(const std::string& name, const std::string& value);

 private:
  // The key to start from and the path below it.
  HKEY BaseFor(const std::string& key, std::string& relative) const;

  HKEY root_ = HKEY_CURRENT_USER;
  UniqueKey current_;
};

}  // namespace win
