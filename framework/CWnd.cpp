#include "framework/CWnd.h"

#include "framework/CWinApp.h"

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType) {
  int nResult = ::MessageBoxA(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
  AfxWakeModalLoop(m_hWnd);
  return nResult;
}

// EndDialog wakes a dialog's loop with a posted WM_NULL, but a box open in front
// of it takes that message in its own loop. Once the box is gone the loop behind
// may wait for a message that never comes, though its dialog has ended.
void AfxWakeModalLoop(HWND hWnd) {
  if (hWnd) ::PostMessageA(hWnd, WM_NULL, 0, 0);
}

HWND AfxGetSafeOwner(const CWnd* pParent) {
  HWND hWnd = pParent ? pParent->m_hWnd : nullptr;
  if (!hWnd) {
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd) hWnd = pApp->m_pMainWnd->m_hWnd;
  }
  if (!hWnd) return nullptr;
  while (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) hWnd = ::GetParent(hWnd);
  return ::GetLastActivePopup(hWnd);
}
