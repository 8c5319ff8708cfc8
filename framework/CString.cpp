#include "framework/CString.h"

#include "framework/CWinApp.h"

BOOL CString::LoadString(UINT nID) {
  // A string table entry holds at most 4097 UTF-16 units; in code page 932
  // each becomes at most two bytes.
  char text[2 * 4097 + 1];
  int length = ::LoadStringA(AfxGetInstanceHandle(), nID, text, sizeof text);
  m_text.assign(text, length > 0 ? static_cast<size_t>(length) : 0);
  return length > 0;
}
