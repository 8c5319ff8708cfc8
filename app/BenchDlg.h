// CBenchDlg: the main window. Picks the limit, runs a measurement on a worker
// thread, and keeps the best time per limit for as long as the program runs.
#ifndef TARVOLO_APP_BENCHDLG_H
#define TARVOLO_APP_BENCHDLG_H

#include "bench/limit_slots.h"
#include "framework/CDialogImpl.h"
#include "res/resource.h"

class CBenchDlg : public CDialogImpl<CBenchDlg> {
 public:
  enum { IDD = IDD_BENCH };

  explicit CBenchDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override { CDialog::DoDataExchange(pDX); }
  BOOL OnInitDialog() override;
  // Start: begins a run; never ends the dialog.
  void OnOK() override;

 private:
  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnReport();
  void OnSelchangeLimit();
  // The completion of a run, given its two tick counts: shows the elapsed time,
  // gives the controls back and keeps a new record. Runs on the window's thread.
  void OnMeasureDone(int nStart, int nEnd);
  void ShowIdle();
  void ShowMeasuredLimit();

  static DWORD WINAPI MeasureThreadProc(LPVOID pParam);

  // Posted by the worker with its two tick counts, start and end.
  static constexpr UINT WM_MEASURE_DONE = WM_APP + 1;

  int m_nSel;
  int m_nBest[kLimitSlots];
  int m_nLimit[kLimitSlots];
  HICON m_hIcon;
  // From the moment Start is accepted until its completion is handled: the
  // disabled controls stop only real input, so the run itself refuses a second
  // Start, a change of limit and the report, and records under its own limit.
  bool m_bMeasuring = false;
  int m_nRunSel = 0;

 public:
  static constexpr MessageMapEntry<CBenchDlg> kMessageMap[] = {
      OnSysCommandEntry(&CBenchDlg::OnSysCommand),
      OnPaintEntry(&CBenchDlg::OnPaint),
      OnQueryDragIconEntry(&CBenchDlg::OnQueryDragIcon),
      OnCommandEntry(IDC_REPORT, BN_CLICKED, &CBenchDlg::OnReport),
      OnCommandEntry(IDC_LIMIT, CBN_SELCHANGE, &CBenchDlg::OnSelchangeLimit),
      OnIntPairEntry(WM_MEASURE_DONE, &CBenchDlg::OnMeasureDone),
  };
};

#endif
