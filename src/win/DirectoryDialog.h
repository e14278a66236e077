// The directory chooser: a modal dialog with a folder list, a drive list and
// an editable folder name.
#pragma once

#include <string>

namespace win {

// Opens on folder when it names an existing folder on a lettered drive, else
// on the current folder. On OK, folder receives the chosen name (a name that
// does not exist is created, with its parents, after the user agreed) and the
// result is true; on Cancel folder is left alone and the result is false.
bool SelectDirectory(const std::string& caption, std::string& folder);

}  // namespace win
