// TfrmMain: creation from the layout, the Exit button and the close query.
#include "Unit1.h"

#include "Texts.h"
#include "win/MessageBox.h"

TfrmMain* frmMain = nullptr;

namespace {

using win::Bounds;
using win::Color;
using win::Panel;

const Color kWhite = Color::Rgb(RGB(255, 255, 255));
const Color kRed = Color::Rgb(RGB(255, 0, 0));

}  // namespace

TfrmMain::TfrmMain() {
  CreateForm({392, 373, "Installer", "MS Sans Serif", 8, "MAINICON"});
  BuildLayout();
  BindHandlers();
  FormCreate(this);
}

TfrmMain::~TfrmMain() = default;

// Every control is created in the tab order of its parent; positions are
// pixels at 96 DPI relative to the parent's client area.
void TfrmMain::BuildLayout() {
  pnlImage.Create(*this, {{0, 0, 392, 97}, kWhite, Panel::Bevel::Lowered, Panel::Bevel::None});
  imgLogo.Create(pnlImage, {{1, 1, 390, 95}, kWhite});
  tabsTabControl.Create(*this, {{0, 97, 392, 235}});
  pnlButtons.Create(*this, {{0, 332, 392, 41},
                            Color::System(COLOR_BTNFACE),
                            Panel::Bevel::Lowered,
                            Panel::Bevel::Raised});
  btnExit.Create(pnlButtons, {{311, 8, 75, 25}, "Exit"});
  btnNext.Create(pnlButtons, {{231, 8, 75, 25}, "Next >>"});
  btnBack.Create(pnlButtons, {{151, 8, 75, 25}, "<< Back"});

  for (win::Page* page : {&tabWelcome, &tabCloseFMP, &tabInstallInto, &tabSearching, &tabBrowse,
                          &tabInstall, &tabFinished}) {
    tabsTabControl.AddPage(*page);
  }

  txtWelcome.Create(tabWelcome, {{8, 8, 368, 161}, "txtWelcome"});
  Label1.Create(tabWelcome,
                {{8, 176, 368, 41},
                 "WinZip Users:  If this installer is running automatically after you download "
                 "it, you will not have the documentation and example databases.  Exit this "
                 "installer now, locate the zip file and unzip it manually before running the "
                 "installer.",
                 false,
                 true,
                 kWhite,
                 kRed});

  txtCloseFMP.Create(tabCloseFMP, {{8, 8, 368, 191}, "txtCloseFMP"});

  chkInstall4.Create(tabInstallInto, {{48, 48, 97, 17}, "FileMaker Pro 4", false});
  chkInstall5.Create(tabInstallInto, {{48, 80, 97, 17}, "FileMaker Pro 5", false});
  lblInstallInto.Create(
      tabInstallInto,
      {{24, 16, 0, 0}, "Which versions of FileMaker would you like to install into?"});

  lblSearching.Create(tabSearching, {{24, 32, 0, 0}, "Searching For Install Paths"});
  lblSearchPath.Create(tabSearching, {{40, 64, 0, 0}, "lblSearchPath"});

  gboxFMP4.Create(tabBrowse, {{8, 8, 368, 100}, " FileMaker Pro 4 "});
  edtInstall4Path.Create(gboxFMP4, {{24, 64, 249, 21}, "edtInstall4Path"});
  btnBrowse4.Create(gboxFMP4, {{280, 62, 75, 25}, "Browse...", 4});
  lblWillInstall4.Create(gboxFMP4,
                         {{16, 32, 0, 0}, "Setup will install into the following folder:"});
  gboxFMP5.Create(tabBrowse, {{8, 116, 368, 100}, " FileMaker Pro 5 "});
  edtInstall5Path.Create(gboxFMP5, {{24, 64, 249, 21}, "edtInstall5Path"});
  btnBrowse5.Create(gboxFMP5, {{280, 62, 75, 25}, "Browse...", 5});
  lblWillInstall5.Create(gboxFMP5,
                         {{16, 32, 0, 0}, "Setup will install into the following folder:"});

  lblInstall.Create(tabInstall, {{16, 32, 0, 0}, "Setup is now unpacking and installing..."});

  txtFinished.Create(tabFinished, {{8, 8, 368, 191}, "txtFinished"});

  tmrPause.Create(*this, {500, false});
}

void TfrmMain::BindHandlers() {
  btnExit.onClick = [this] { btnExitClick(&btnExit); };
  btnNext.onClick = [this] { btnNextClick(&btnNext); };
  btnBack.onClick = [this] { btnBackClick(&btnBack); };
  btnBrowse4.onClick = [this] { btnBrowse4Click(&btnBrowse4); };
  btnBrowse5.onClick = [this] { btnBrowse4Click(&btnBrowse5); };
  tabWelcome.onShow = [this] { tabWelcomeShow(&tabWelcome); };
  tabCloseFMP.onShow = [this] { tabCloseFMPShow(&tabCloseFMP); };
  tabInstallInto.onShow = [this] { tabInstallIntoShow(&tabInstallInto); };
  tabSearching.onShow = [this] { tabSearchingShow(&tabSearching); };
  tabBrowse.onShow = [this] { tabBrowseShow(&tabBrowse); };
  tabInstall.onShow = [this] { tabInstallShow(&tabInstall); };
  tabFinished.onShow = [this] { tabFinishedShow(&tabFinished); };
  tmrPause.onTimer = [this] { tmrPauseTimer(nullptr); };
}

void TfrmMain::FormCreate(win::Control*) {
  SetText(std::string(texts::ProductName) + " Installer");
  imgLogo.LoadBitmapResource("ID_LOGO");
  tabsTabControl.SetActivePage(tabWelcome);
  Searching = false;
  ExitRequested = false;
  SetupComplete = false;
}

void TfrmMain::btnExitClick(win::Control*) { Close(); }

void TfrmMain::OnCloseQuery(bool& canClose) { FormCloseQuery(this, canClose); }

void TfrmMain::FormCloseQuery(win::Control*, bool& CanClose) {
  if (SetupComplete) {
    CanClose = true;
    return;
  }
  CanClose = false;
  if (win::ShowConfirmBox(texts::ExitQuestion) != win::Answer::Yes) return;
  if (!Searching) {
    CanClose = true;
    return;
  }
  // The walk is somewhere below us on the stack: let it unwind first; it
  // closes the window itself once it has stopped.
  ExitRequested = true;
  StopSearch = true;
}

TfrmMain::RegistrySession::RegistrySession(TfrmMain& form) : form_(form) {
  form_.Reg = std::make_unique<win::Registry>();
  form_.Reg->SetRootKey(HKEY_LOCAL_MACHINE);
}

TfrmMain::RegistrySession::~RegistrySession() { form_.Reg.reset(); }
