// CMenu: a menu seen through its handle (the system menu belongs to its window,
// so nothing here destroys it).
#ifndef TARVOLO_FRAMEWORK_CMENU_H
#define TARVOLO_FRAMEWORK_CMENU_H

#include <windows.h>

class CMenu {
 public:
  static CMenu FromHandle(HMENU hMenu) { return CMenu(hMenu); }

  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
  }

  HMENU m_hMenu;

 private:
  explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}
};

#endif
