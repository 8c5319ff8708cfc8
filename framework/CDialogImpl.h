// CDialogImpl<T>: a dialog class's own message routing, in the manner of WTL.
// The class T names its template (enum { IDD = ... }) and its table
// (static constexpr MessageMapEntry<T> kMessageMap[]), and nothing else.
#ifndef TARVOLO_FRAMEWORK_CDIALOGIMPL_H
#define TARVOLO_FRAMEWORK_CDIALOGIMPL_H

#include <windows.h>

#include "framework/CDialog.h"
#include "framework/MessageMap.h"

template <class T>
class CDialogImpl : public CDialog {
 public:
  explicit CDialogImpl(CWnd* pParentWnd = nullptr) : CDialog(T::IDD, pParentWnd) {}

 protected:
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return RouteMessage(static_cast<T&>(*this), T::kMessageMap, message, wParam, lParam, result);
  }
};

#endif
