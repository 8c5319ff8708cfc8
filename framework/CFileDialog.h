// CFileDialog: the platform's common file dialog (explorer style, no hook), in its
// Unicode form, so that the chosen path is the one the user named, whatever its
// characters: the code page could hold many names only as look-alikes.
#ifndef TARVOLO_FRAMEWORK_CFILEDIALOG_H
#define TARVOLO_FRAMEWORK_CFILEDIALOG_H

#include <windows.h>

#include <string>

#include "framework/CWnd.h"

class CFileDialog {
 public:
  // bOpenFileDialog: the Open form (TRUE) or the Save form. lpszFilter: pairs of
  // label and pattern, each ended by '|', as "label|pattern||". All texts in the
  // program's code page.
  CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
              const char* lpszFileName = nullptr, DWORD dwFlags = 0,
              const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  // IDOK when the user chose a file, IDCANCEL otherwise; CommDlgExtendedError()
  // then tells a failure (non-zero) from a cancel (zero).
  INT_PTR DoModal();
  // The chosen file's full path, exactly as chosen: the one to open the file by.
  std::wstring GetUnicodePathName() const { return m_szFileName; }

 private:
  BOOL m_bOpenFileDialog;
  std::wstring m_defExt;
  std::wstring m_filter;
  DWORD m_dwFlags;
  CWnd* m_pParentWnd;
  wchar_t m_szFileName[MAX_PATH];
};

#endif
