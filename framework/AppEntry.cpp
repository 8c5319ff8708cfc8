// The program entry: runs the application object's InitInstance and ends when it
// returns FALSE, as a program whose main window is a modal dialog does.
#include <windows.h>

#include "framework/CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return 1;
  pApp->m_hInstance = hInstance;
  try {
    return pApp->InitInstance() ? pApp->Run() : 0;
  } catch (...) {
    return 1;
  }
}
