// CAboutDlg: the About box, opened from the main window's system menu.
#ifndef TARVOLO_APP_ABOUTDLG_H
#define TARVOLO_APP_ABOUTDLG_H

#include "framework/CDialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
 public:
  enum { IDD = IDD_ABOUTBOX };

  CAboutDlg() : CDialog(IDD) {}

 protected:
  void DoDataExchange(CDataExchange* pDX) override { CDialog::DoDataExchange(pDX); }
};

#endif
