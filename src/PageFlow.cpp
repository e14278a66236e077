// TfrmMain: Next and Back, the show handlers of the pages that only show
// texts, and the one-shot timer that starts the long operations.
#include "Texts.h"
#include "Unit1.h"
#include "win/Application.h"
#include "win/MessageBox.h"

namespace {

enum PageIndex { Welcome, CloseFMP, InstallInto, SearchingPage, Browse, Install, Finished };

enum TimerJob { SearchJob = 0, InstallJob = 1 };

std::string WithoutLast(const std::string& text, size_t count) {
  return text.size() > count ? text.substr(0, text.size() - count) : std::string();
}

}  // namespace

void TfrmMain::btnNextClick(win::Control*) {
  switch (tabsTabControl.ActivePageIndex()) {
    case Welcome:
      DetectRunningHosts();
      if (!RunningHosts.empty()) {
        tabsTabControl.SetActivePage(tabCloseFMP);
      } else {
        DetectInstalledHosts();
        tabsTabControl.SetActivePage(tabInstallInto);
      }
      break;
    case CloseFMP:
      DetectRunningHosts();
      if (!RunningHosts.empty()) {
        // The page is active already, so changing to it would run nothing.
        tabCloseFMPShow(nullptr);
      } else {
        DetectInstalledHosts();
        tabsTabControl.SetActivePage(tabInstallInto);
      }
      break;
    case InstallInto:
      if (chkInstall4.Checked() || chkInstall5.Checked()) {
        tabsTabControl.SetActivePage(tabSearching);
      } else {
        win::ShowErrorBox("You must check at least one version to install into.");
      }
      break;
    case Browse:
      CheckInstallPaths();
      break;
    case SearchingPage:
    case Install:
    case Finished:
      btnNext.SetVisible(false);
      break;
    default:
      break;
  }
}

void TfrmMain::CheckInstallPaths() {
  bool ok = true;
  if (chkInstall4.Checked() && edtInstall4Path.Text().empty()) {
    win::ShowErrorBox(
        "You must have an install path for FileMaker Pro 4 before continuing.  Please use the "
        "Browse button to locate the Path.");
    ok = false;
    edtInstall4Path.SetFocus();
  }
  if (ok && chkInstall5.Checked() && edtInstall5Path.Text().empty()) {
    win::ShowErrorBox(
        "You must have an install path for FileMaker Pro 5 before continuing.  Please use the "
        "Browse button to locate the Path.");
    ok = false;
    edtInstall5Path.SetFocus();
  }
  if (ok) tabsTabControl.SetActivePage(tabInstall);
}

void TfrmMain::btnBackClick(win::Control*) {
  switch (tabsTabControl.ActivePageIndex()) {
    case CloseFMP:
    case InstallInto:
      tabsTabControl.SetActivePage(tabWelcome);
      break;
    case Browse:
      DetectInstalledHosts();
      tabsTabControl.SetActivePage(tabInstallInto);
      break;
    case Welcome:
    case SearchingPage:
    case Install:
    case Finished:
      btnBack.SetVisible(false);
      break;
    default:
      break;
  }
}

void TfrmMain::tabWelcomeShow(win::Control*) {
  const std::string product = texts::ProductName;
  txtWelcome.Clear();
  txtWelcome.AddLine("Welcome to the " + product + " Installer.  This program will install " +
                     product + " on to your computer.");
  txtWelcome.AddLine("");
  txtWelcome.AddLine("Please close any running version of FileMaker Pro before continuing.");
  txtWelcome.AddLine("");
  txtWelcome.AddLine("");
  txtWelcome.AddLine("");
  txtWelcome.AddLine("");
  btnBack.SetVisible(false);
}

void TfrmMain::tabCloseFMPShow(win::Control*) {
  MessageBeep(MB_OK);
  txtCloseFMP.Clear();
  txtCloseFMP.AddLine("Setup has detected that " + RunningHosts + " open.");
  txtCloseFMP.AddLine("");
  txtCloseFMP.AddLine("Please close " + WithoutLast(RunningHosts, 4) + ", and then click Next.");
  btnBack.SetVisible(true);
}

void TfrmMain::tabInstallIntoShow(win::Control*) {
  lblInstallInto.SetText("Which versions of FileMaker would you like to install " +
                         std::string(texts::ProductName) + " into?");
  chkInstall4.SetChecked(HasVersion4);
  chkInstall5.SetChecked(HasVersion5);
  btnBack.SetVisible(true);
  btnNext.SetVisible(true);
}

void TfrmMain::tabFinishedShow(win::Control*) {
  txtFinished.Clear();
  txtFinished.AddLine("Setup has successfully installed " + std::string(texts::ProductName) + ".");
  txtFinished.AddLine("");
  txtFinished.AddLine("Press the Finish button to exit setup.");
  btnNext.SetVisible(false);
  btnBack.SetVisible(false);
  btnExit.SetText("Finish");
  SetupComplete = true;
}

void TfrmMain::tabInstallShow(win::Control*) {
  lblInstall.SetText("Setup is now unpacking and installing " + std::string(texts::ProductName));
  btnBack.SetVisible(false);
  btnNext.SetVisible(false);
  win::Application::Instance().ProcessMessages();
  WriteInstallRecord();
  tmrPause.SetTag(InstallJob);
  tmrPause.SetEnabled(true);
}

void TfrmMain::tmrPauseTimer(win::Control*) {
  // Disabled first: the search pumps messages, and a second tick must not
  // start it again inside itself.
  tmrPause.SetEnabled(false);
  switch (tmrPause.Tag()) {
    case SearchJob:
      FindInstallPaths();
      break;
    default:
      // The installation job (tag 1) is not part of this build yet.
      break;
  }
}
