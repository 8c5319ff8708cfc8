#include "framework/CWnd.h"

#include "framework/CWinApp.h"

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType) {
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
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
