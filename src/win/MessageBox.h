// The two kinds of message box: error (title "Error", error icon, OK) and
// confirmation (title "Confirm", question icon, Yes and No with Yes the
// default and Escape answering No). Both are modal and centred on the screen.
#pragma once

#include <string>

namespace win {

enum class Answer { Ok, Yes, No };

void ShowErrorBox(const std::string& text);
Answer ShowConfirmBox(const std::string& text);

}  // namespace win
