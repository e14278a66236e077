// TfrmMain: the wizard window. It owns every page and every operation of the
// wizard; the operations are defined across the files named beside each group.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win/Form.h"
#include "win/PageControl.h"
#include "win/Registry.h"
#include "win/StandardControls.h"

class TfrmMain : public win::Form {
 public:
  TfrmMain();
  ~TfrmMain() override;

  // Controls, in the order of the layout.
  win::Panel pnlImage;
  win::Image imgLogo;
  win::PageControl tabsTabControl;
  win::Panel pnlButtons;
  win::Button btnExit;
  win::Button btnNext;
  win::Button btnBack;
  win::Page tabWelcome;
  win::Memo txtWelcome;
  win::Page tabCloseFMP;
  win::Memo txtCloseFMP;
  win::Page tabInstallInto;
  win::CheckBox chkInstall4;
  win::CheckBox chkInstall5;
  win::Label lblInstallInto;
  win::Page tabSearching;
  win::Label lblSearching;
  win::Label lblSearchPath;
  win::Page tabBrowse;
  win::Timer tmrPause;
  win::GroupBox gboxFMP4;
  win::Edit edtInstall4Path;
  win::GroupBox gboxFMP5;
  win::Edit edtInstall5Path;
  win::Label lblWillInstall4;
  win::Label lblWillInstall5;
  win::Page tabInstall;
  win::Label lblInstall;
  win::Page tabFinished;
  win::Memo txtFinished;
  win::Button btnBrowse4;
  win::Button btnBrowse5;
  win::Label Label1;

  // Event handlers (Unit1.cpp, PageFlow.cpp, PathSearch.cpp,
  // PathConfirmation.cpp, InstallRecord.cpp).
  void FormCreate(win::Control* Sender);
  void btnExitClick(win::Control* Sender);
  void FormCloseQuery(win::Control* Sender, bool& CanClose);
  void tabWelcomeShow(win::Control* Sender);
  void tabCloseFMPShow(win::Control* Sender);
  void btnNextClick(win::Control* Sender);
  void btnBackClick(win::Control* Sender);
  void tabInstallIntoShow(win::Control* Sender);
  void tabSearchingShow(win::Control* Sender);
  void tmrPauseTimer(win::Control* Sender);
  void tabBrowseShow(win::Control* Sender);
  void btnBrowse4Click(win::Control* Sender);
  void tabInstallShow(win::Control* Sender);
  void tabFinishedShow(win::Control* Sender);

  // State.
  std::string RunningHosts;
  bool HasVersion4 = false;
  bool HasVersion5 = false;
  std::unique_ptr<win::Registry> Reg;
  std::string InstallPath4;
  std::string InstallPath5;
  bool Searching = false;
  bool ExitRequested = false;
  bool StopSearch = false;
  bool SetupComplete = false;

  // Operations no event is bound to.
  void DetectRunningHosts();                                                   // HostDetection.cpp
  void DetectInstalledHosts();                                                 // HostDetection.cpp
  std::string GetFileVersionString(const std::string& fileName);               // PathSearch.cpp
  void ListFixedDrives(std::vector<std::string>& list);                        // PathSearch.cpp
  void SearchForHost(const std::string& folder, const std::string& fileName);  // PathSearch.cpp
  void UpdateSearchDone();                                                     // PathSearch.cpp
  void FindInstallPaths();                                                     // PathSearch.cpp
  void EnableVersion4Group(bool enabled);  // PathConfirmation.cpp
  void EnableVersion5Group(bool enabled);  // PathConfirmation.cpp
  void ReadInstallRecord();                // InstallRecord.cpp
  void WriteInstallRecord();               // InstallRecord.cpp

 protected:
  void OnCloseQuery(bool& canClose) override;

 private:
  // Holds a registry object in Reg for the length of one registry operation,
  // and destroys it however the operation ends.
  class RegistrySession {
   public:
    explicit RegistrySession(TfrmMain& form);
    RegistrySession(const RegistrySession&) = delete;
    RegistrySession& operator=(const RegistrySession&) = delete;
    ~RegistrySession();
    win::Registry& operator*() const { return *form_.Reg; }
    win::Registry* operator->() const { return form_.Reg.get(); }

   private:
    TfrmMain& form_;
  };

  // One read of a folder during the drive walk.
  struct FolderListing {
    std::vector<std::string> subfolders;  // in listing order
    int hostMatches = 0;                  // entries carrying the host's name
  };

  void BuildLayout();
  void BindHandlers();
  void CheckInstallPaths();
  bool ReadFolder(const std::string& folder, const std::string& fileName,
                  FolderListing& listing);                                 // PathSearch.cpp
  void CheckHost(const std::string& folder, const std::string& fileName);  // PathSearch.cpp
};

// The wizard window, once the entry point has created it.
extern TfrmMain* frmMain;

// The directory chooser of the Browse page (PathConfirmation.cpp).
std::string BrowseForFolder(const std::string& caption, const std::string& initialFolder);
