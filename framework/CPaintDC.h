// CPaintDC: painting of a window, begun in the constructor and ended in the
// destructor, so that every BeginPaint has its EndPaint.
#ifndef TARVOLO_FRAMEWORK_CPAINTDC_H
#define TARVOLO_FRAMEWORK_CPAINTDC_H

#include <windows.h>

#include "framework/CWnd.h"

class CPaintDC {
 public:
  explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
  ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

 private:
  HWND m_hWnd;
  PAINTSTRUCT m_ps;
  HDC m_hDC;
};

#endif
