#include "framework/CFileDialog.h"

#include <commdlg.h>

#include <cstring>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_defExt(lpszDefExt ? lpszDefExt : ""),
      m_dwFlags(dwFlags),
      m_pParentWnd(pParentWnd) {
  m_szFileName[0] = '\0';
  if (lpszFileName) {
    std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
    m_szFileName[sizeof m_szFileName - 1] = '\0';
  }
  // The dialog wants the pairs separated by zero bytes and ended by two. A '|'
  // can be the second byte of a double-byte character, so step by characters.
  if (lpszFilter) {
    m_filter = lpszFilter;
    for (size_t i = 0; i < m_filter.size(); ++i) {
      if (::IsDBCSLeadByte(static_cast<BYTE>(m_filter[i])) && i + 1 < m_filter.size()) {
        ++i;
      } else if (m_filter[i] == '|') {
        m_filter[i] = '\0';
      }
    }
    m_filter.push_back('\0');
  }
}

INT_PTR CFileDialog::DoModal() {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = AfxGetSafeOwner(m_pParentWnd);
  ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
  ofn.lpstrFile = m_szFileName;
  ofn.nMaxFile = sizeof m_szFileName;
  ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
  ofn.Flags = m_dwFlags | OFN_EXPLORER;
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
  AfxWakeModalLoop(ofn.hwndOwner);
  return chosen ? IDOK : IDCANCEL;
}
