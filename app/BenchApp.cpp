#include "app/BenchApp.h"

#include "app/BenchDlg.h"

// The one application object, constructed before the program entry runs.
CBenchApp theApp;

// The help command keeps the framework's own route to CWinApp::OnHelp, which
// opens nothing: no help file ships with the program.
const MessageMapEntry<CWinApp> CBenchApp::kMessageMap[] = {
    OnCommandEntry(ID_HELP, 0, &CWinApp::OnHelp),
};

bool CBenchApp::OnCmdMsg(UINT nID, UINT nCode) {
  LRESULT result = 0;
  CWinApp& app = *this;
  return RouteMessage(app, kMessageMap, WM_COMMAND, MAKEWPARAM(nID, nCode), 0, result);
}

BOOL CBenchApp::InitInstance() {
  // Both kept from the framework's start-up, and both do nothing here: no
  // template holds an ActiveX control, and the 3D look is the platform's own.
  AfxEnableControlContainer();
  Enable3dControls();

  CBenchDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();

  // The main window has closed: end the program rather than run a message loop.
  return FALSE;
}
