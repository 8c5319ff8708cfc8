// CBenchDlg: the main window. Picks the limit, runs a measurement on a worker
// thread, and keeps the best time per limit for as long as the program runs.
#ifndef TARVOLO_APP_BENCHDLG_H
#define TARVOLO_APP_BENCHDLG_H

#include "framework/CDialog.h"
#include "framework/MessageMap.h"
#include "res/resource.h"

// The limit of the run being started: written by the window's thread just
// before the worker exists, read once by the worker.
extern int g_nLimit;

class CBenchDlg : public CDialog {
 public:
  enum { IDD = IDD_BENCH };

  explicit CBenchDlg(CWnd* pParent = nullptr);

  // The completion of a run: shows the elapsed time, gives the controls back and
  // keeps a new record. Runs on the window's thread.
  void OnMeasureDone(int nStart, int nEnd);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Start: begins a run; never ends the dialog.
  void OnOK() override;
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnReport();
  void OnSelchangeLimit();
  LRESULT OnMeasureDoneMessage(WPARAM wParam, LPARAM lParam);
  void ShowIdle();
  void ShowMeasuredLimit();

  static DWORD WINAPI MeasureThreadProc(LPVOID pParam);

  static const MessageMapEntry<CBenchDlg> kMessageMap[];

  int m_nSel;
  int m_nBest[10];
  int m_nLimit[10];
  HICON m_hIcon;
  // From the moment Start is accepted until its completion is handled: the
  // disabled controls stop only real input, so the run itself refuses a second
  // Start, a change of limit and the report, and records under its own limit.
  bool m_bMeasuring = false;
  int m_nRunSel = 0;
};

#endif
