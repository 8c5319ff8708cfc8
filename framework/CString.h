// CString: the little of a string class the program needs, a text loaded from
// the string table.
#ifndef TARVOLO_FRAMEWORK_CSTRING_H
#define TARVOLO_FRAMEWORK_CSTRING_H

#include <windows.h>

#include <string>

class CString {
 public:
  // Loads string nID of the program's resources; false (and empty) if absent.
  BOOL LoadString(UINT nID);

  bool IsEmpty() const { return m_text.empty(); }
  operator const char*() const { return m_text.c_str(); }

 private:
  std::string m_text;
};

#endif
