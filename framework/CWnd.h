// CWnd: a window seen through its handle. It does not own the window; dialogs end
// their own windows, and a CWnd from GetDlgItem is only a view of a control.
#ifndef TARVOLO_FRAMEWORK_CWND_H
#define TARVOLO_FRAMEWORK_CWND_H

#include <windows.h>

class CWnd {
 public:
  CWnd() = default;
  explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
  virtual ~CWnd() = default;

  CWnd GetDlgItem(int nID) const { return CWnd(::GetDlgItem(m_hWnd, nID)); }
  void SetDlgItemText(int nID, const char* lpszString) {
    ::SetDlgItemTextA(m_hWnd, nID, lpszString);
  }
  void SetWindowText(const char* lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
  // Copies at most nMaxCount - 1 bytes and a terminating zero; returns the bytes copied.
  int GetWindowText(char* lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
  }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }

  // A box owned by this window, captioned with the application's name unless
  // told otherwise.
  int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);

  // Hands the message being handled on to the platform's default processing,
  // which runs when the handler returns. It marks that message alone: a message
  // sent to the window meanwhile has its own mark.
  void Default() {
    if (m_pbDefault) *m_pbDefault = true;
  }

  HWND m_hWnd = nullptr;

 protected:
  // The mark of the message being handled now, on the stack of its handling.
  bool* m_pbDefault = nullptr;
};

// The top-level window that should own a new modal window or common dialog:
// pParent's, else the application's main window's, in either case the popup
// last active in front of it. Null when there is none yet.
HWND AfxGetSafeOwner(const CWnd* pParent);

// After a modal window in front of hWnd has closed: lets the modal loop that runs
// hWnd see whether its dialog was ended meanwhile.
void AfxWakeModalLoop(HWND hWnd);

#endif
