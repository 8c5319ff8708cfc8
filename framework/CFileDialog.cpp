#include "framework/CFileDialog.h"

#include <commdlg.h>

#include "framework/CodePageText.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_defExt(lpszDefExt ? FromCodePage(lpszDefExt, CP_ACP) : L""),
      m_dwFlags(dwFlags),
      m_pParentWnd(pParentWnd) {
  m_szFileName[0] = L'\0';
  if (lpszFileName) {
    const std::wstring name = FromCodePage(lpszFileName, CP_ACP);
    m_szFileName[name.copy(m_szFileName, MAX_PATH - 1)] = L'\0';
  }
  // The dialog wants the pairs separated by zeros and ended by two. In UTF-16 no
  // part of another character reads as '|', as a Shift_JIS second byte can.
  if (lpszFilter) {
    m_filter = FromCodePage(lpszFilter, CP_ACP);
    for (wchar_t& c : m_filter) {
      if (c == L'|') c = L'\0';
    }
    m_filter.push_back(L'\0');
  }
}

INT_PTR CFileDialog::DoModal() {
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = AfxGetSafeOwner(m_pParentWnd);
  ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
  ofn.lpstrFile = m_szFileName;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
  ofn.Flags = m_dwFlags | OFN_EXPLORER;
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
  AfxWakeModalLoop(ofn.hwndOwner);
  return chosen ? IDOK : IDCANCEL;
}
