// CDialog: a modal dialog box made from a dialog template, run on the platform's
// own modal loop (DialogBoxParam).
#ifndef TARVOLO_FRAMEWORK_CDIALOG_H
#define TARVOLO_FRAMEWORK_CDIALOG_H

#include <windows.h>

#include "framework/CWnd.h"

// Data exchange between a dialog's controls and its fields. The program's
// dialogs exchange nothing; the type is here so that they can say so.
class CDataExchange {};

class CDialog : public CWnd {
 public:
  // pParentWnd: the owner; with none, the application's main window (or the
  // popup last active in front of it) owns the dialog.
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog modally; the owner stays disabled until it ends. Returns the
  // value given to EndDialog, or -1 when the dialog could not be created.
  INT_PTR DoModal();

 protected:
  virtual BOOL OnInitDialog();
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual void DoDataExchange(CDataExchange*) {}

  // The class's own message map. Returns false for a message it does not handle.
  virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
  void OnClose();
  bool TemplateAtOrigin() const;
  void CenterOverOwner();

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
};

#endif
