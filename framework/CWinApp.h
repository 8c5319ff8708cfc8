// CWinApp: the one application object. The program entry runs its InitInstance
// and ends when that returns; the program's windows are all modal dialogs run
// from inside InitInstance.
#ifndef TARVOLO_FRAMEWORK_CWINAPP_H
#define TARVOLO_FRAMEWORK_CWINAPP_H

#include <windows.h>

#include "framework/CWnd.h"

// The framework's help command.
constexpr UINT ID_HELP = 0xE146;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }

  // Routes a command that no window handled. Returns false when nothing took it.
  virtual bool OnCmdMsg(UINT nID, UINT nCode);

  // Hosting of ActiveX controls in dialogs: the program's templates hold none,
  // so there is nothing to set up.
  void AfxEnableControlContainer() {}
  // The three-dimensional control look is the platform's own since Windows 95;
  // there is nothing left to switch on.
  BOOL Enable3dControls() { return TRUE; }

  void OnHelp();

  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The executable's file name without its extension, from the running module.
const char* AfxGetAppName();

#endif
