// CFileDialog: the platform's common file dialog (explorer style, no hook).
#ifndef TARVOLO_FRAMEWORK_CFILEDIALOG_H
#define TARVOLO_FRAMEWORK_CFILEDIALOG_H

#include <windows.h>

#include <string>

#include "framework/CWnd.h"

class CFileDialog {
 public:
  // bOpenFileDialog: the Open form (TRUE) or the Save form. lpszFilter: pairs of
  // label and pattern, each ended by '|', as "label|pattern||".
  CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
              const char* lpszFileName = nullptr, DWORD dwFlags = 0,
              const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  // IDOK when the user chose a file, IDCANCEL otherwise; CommDlgExtendedError()
  // then tells a failure (non-zero) from a cancel (zero).
  INT_PTR DoModal();
  // The chosen file's full path.
  std::string GetPathName() const { return m_szFileName; }

 private:
  BOOL m_bOpenFileDialog;
  std::string m_defExt;
  std::string m_filter;
  DWORD m_dwFlags;
  CWnd* m_pParentWnd;
  char m_szFileName[MAX_PATH];
};

#endif
