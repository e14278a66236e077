#include "win/DirectoryDialog.h"
namespace win {
bool SelectDirectory(const std::string&, std::string&) { return false; }
}  // namespace win
