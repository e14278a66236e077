// Entry point of Quorlet Setup.
#include <windows.h>

#include "Unit1.h"
#include "win/Application.h"
#include "win/Exception.h"
#include "win/SystemLibrary.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: an installer runs from a Downloads
  // folder, and nothing planted beside it may be loaded.
  win::RestrictDllSearchToSystemFolder();

  win::Application& application = win::Application::Instance();
  try {
    application.Initialize();
    TfrmMain form;
    frmMain = &form;
    application.SetMainForm(form);
    application.Run();
    frmMain = nullptr;
  } catch (const win::Exception& e) {
    application.ShowException(e);
  }
  return 0;
}
