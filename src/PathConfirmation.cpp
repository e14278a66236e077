// TfrmMain: the Browse page, where the user confirms or changes the folders.
#include "Texts.h"
#include "Unit1.h"
#include "win/DirectoryDialog.h"

namespace {

std::string WillInstallCaption() {
  return "Setup will install " + std::string(texts::ProductName) + " into the following folder:";
}

// An enabled group's caption is in the window-text colour, a disabled one's
// in the colour of an inactive title bar.
win::Color GroupCaptionColor(bool enabled) {
  return win::Color::System(enabled ? COLOR_WINDOWTEXT : COLOR_INACTIVECAPTION);
}

}  // namespace

void TfrmMain::tabBrowseShow(win::Control*) {
  EnableVersion4Group(chkInstall4.Checked());
  edtInstall4Path.SetText(chkInstall4.Checked() ? InstallPath4 : std::string());
  lblWillInstall4.SetText(WillInstallCaption());
  EnableVersion5Group(chkInstall5.Checked());
  edtInstall5Path.SetText(chkInstall5.Checked() ? InstallPath5 : std::string());
  lblWillInstall5.SetText(WillInstallCaption());
  btnBack.SetVisible(true);
  btnNext.SetVisible(true);
}

void TfrmMain::EnableVersion4Group(bool enabled) {
  gboxFMP4.SetEnabled(enabled);
  gboxFMP4.SetFontColor(GroupCaptionColor(enabled));
  edtInstall4Path.SetEnabled(enabled);
  lblWillInstall4.SetEnabled(enabled);
  btnBrowse4.SetEnabled(enabled);
}

void TfrmMain::EnableVersion5Group(bool enabled) {
  gboxFMP5.SetEnabled(enabled);
  gboxFMP5.SetFontColor(GroupCaptionColor(enabled));
  edtInstall5Path.SetEnabled(enabled);
  lblWillInstall5.SetEnabled(enabled);
  btnBrowse5.SetEnabled(enabled);
}

void TfrmMain::btnBrowse4Click(win::Control* Sender) {
  win::Edit* field = nullptr;
  const char* caption = nullptr;
  switch (Sender ? Sender->Tag() : 0) {
    case 4:
      field = &edtInstall4Path;
      caption = "Find FileMaker Pro 4 System Directory...";
      break;
    case 5:
      field = &edtInstall5Path;
      caption = "Find FileMaker Pro 5 System Directory...";
      break;
    default:
      return;
  }
  field->SetText(BrowseForFolder(caption, field->Text()));
}

std::string BrowseForFolder(const std::string& caption, const std::string& initialFolder) {
  std::string folder = initialFolder;
  if (win::SelectDirectory(caption, folder)) return folder;
  return initialFolder;
}
