// The program entry: runs the application object's InitInstance and ends when it
// returns. The program's windows are modal dialogs run inside it, so no window is
// left for a message loop to serve afterwards.
#include <windows.h>

#include "framework/CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return 1;
  pApp->m_hInstance = hInstance;
  try {
    pApp->InitInstance();
    return 0;
  } catch (...) {
    return 1;
  }
}
