#include "app/BenchDlg.h"

#include <cstdio>

#include "app/AboutDlg.h"
#include "app/best_record.h"
#include "bench/prime_timer.h"
#include "bench/seconds_text.h"
#include "bench/tick_clock.h"
#include "framework/CMenu.h"
#include "framework/CPaintDC.h"
#include "framework/CString.h"
#include "framework/CWinApp.h"
#include "report/ReportDlg.h"

// The limit of the run being started, the program's one process-wide global. The
// worker reads it rather than the window's table because it is written before the
// worker exists and never while it runs, so the two threads never touch it at once.
int g_nLimit;

namespace {

const char kMeasuring[] = "測定中";
const char kStart[] = "測定開始";

}  // namespace

CBenchDlg::CBenchDlg(CWnd* pParent) : CDialogImpl(pParent) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

BOOL CBenchDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  CMenu sysMenu = CMenu::FromHandle(::GetSystemMenu(m_hWnd, FALSE));
  if (sysMenu.m_hMenu) {
    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUTBOX);
    if (!strAboutMenu.IsEmpty()) {
      sysMenu.AppendMenu(MF_SEPARATOR);
      sysMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
    }
  }

  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  m_nLimit[0] = 10000;
  m_nLimit[1] = 100000;

  CWnd limitList = GetDlgItem(IDC_LIMIT);
  limitList.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("10,000"));
  limitList.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("100,000"));
  limitList.SendMessage(CB_SETCURSEL, 0);

  m_nSel = 0;
  for (int& nBest : m_nBest) nBest = NO_RECORD;

  SetDlgItemText(IDC_RESULT, "");
  SetDlgItemText(IDC_BEST, "");
  return TRUE;
}

void CBenchDlg::OnOK() {
  if (m_bMeasuring) return;
  m_bMeasuring = true;
  m_nRunSel = m_nSel;
  SetDlgItemText(IDC_RESULT, kMeasuring);
  GetDlgItem(IDOK).SetWindowText(kMeasuring);
  GetDlgItem(IDOK).EnableWindow(FALSE);
  GetDlgItem(IDC_REPORT).EnableWindow(FALSE);
  GetDlgItem(IDC_LIMIT).EnableWindow(FALSE);

  g_nLimit = m_nLimit[m_nRunSel];

  // The worker gets the window's handle: all it does with the window is post to it.
  DWORD dwThreadId;
  HANDLE hThread = ::CreateThread(nullptr, 0, MeasureThreadProc, m_hWnd, 0, &dwThreadId);
  if (!hThread) {
    // Standard output, which a windowed program usually lacks: the one trace of a
    // failure no user can mend, for whoever runs the program from a console.
    std::printf("CreateThread error (%d)\n", static_cast<int>(::GetLastError()));
    // No run will ever complete: give the window back rather than leave it measuring.
    m_bMeasuring = false;
    ShowIdle();
    SetDlgItemText(IDC_RESULT, "");
    return;
  }
  if (::CloseHandle(hThread) != TRUE) {
    std::printf("CloseHandle error (%d).", static_cast<int>(::GetLastError()));
  }
}

DWORD WINAPI CBenchDlg::MeasureThreadProc(LPVOID pParam) {
  CPrimeTimer timer;
  timer.Measure(g_nLimit);
  // Posted, not sent, so that no control is touched off the window's thread. If
  // the window has closed meanwhile the message is simply lost.
  PostIntPair(static_cast<HWND>(pParam), WM_MEASURE_DONE, timer.m_start, timer.m_end);
  return 0;
}

void CBenchDlg::OnMeasureDone(int nStart, int nEnd) {
  if (!m_bMeasuring) return;  // no run of ours is waiting for this
  m_bMeasuring = false;
  int nElapsed = ElapsedTicks(nStart, nEnd);
  SetDlgItemText(IDC_RESULT, FormatTicks(nElapsed).text);
  ShowMeasuredLimit();
  ShowIdle();

  if (IsNewRecord(nElapsed, m_nBest[m_nRunSel])) {
    m_nBest[m_nRunSel] = nElapsed;
    SetDlgItemText(IDC_BEST, FormatTicks(nElapsed).text);
    ::MessageBeep(0xFFFFFFFF);
  }
}

// Start caption back, then Start, Report and the list enabled, in that order.
// Disabling Start took the keyboard focus with it: it comes back to Start,
// unless a window in front (the About box) holds it now.
void CBenchDlg::ShowIdle() {
  GetDlgItem(IDOK).SetWindowText(kStart);
  GetDlgItem(IDOK).EnableWindow(TRUE);
  GetDlgItem(IDC_REPORT).EnableWindow(TRUE);
  GetDlgItem(IDC_LIMIT).EnableWindow(TRUE);
  HWND hFocus = ::GetFocus();
  if (!hFocus || hFocus == m_hWnd) {
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDOK).m_hWnd), TRUE);
  }
}

// The list goes back to the limit being measured, whatever was sent to it.
void CBenchDlg::ShowMeasuredLimit() {
  GetDlgItem(IDC_LIMIT).SendMessage(CB_SETCURSEL, static_cast<WPARAM>(m_nRunSel));
}

void CBenchDlg::OnSelchangeLimit() {
  if (m_bMeasuring) {
    ShowMeasuredLimit();
    return;
  }
  int nSel = static_cast<int>(GetDlgItem(IDC_LIMIT).SendMessage(CB_GETCURSEL));
  if (nSel != 0 && nSel != 1) return;  // the list offers two limits; anything else is no choice
  m_nSel = nSel;
  SetDlgItemText(IDC_BEST, m_nBest[m_nSel] == NO_RECORD ? "" : FormatTicks(m_nBest[m_nSel]).text);
  SetDlgItemText(IDC_RESULT, "");
}

void CBenchDlg::OnSysCommand(UINT nID, LPARAM) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
  } else {
    Default();
  }
}

// The minimised window shows the icon centred in its client area.
void CBenchDlg::OnPaint() {
  if (!::IsIconic(m_hWnd)) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  int cxIcon = ::GetSystemMetrics(SM_CXICON);
  int cyIcon = ::GetSystemMetrics(SM_CYICON);
  RECT rect;
  ::GetClientRect(m_hWnd, &rect);
  int x = (rect.right - rect.left - cxIcon + 1) / 2;
  int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CBenchDlg::OnQueryDragIcon() {
  return static_cast<HCURSOR>(m_hIcon);
}

void CBenchDlg::OnReport() {
  if (m_bMeasuring) return;  // its figures would not be the run's
  CReportDlg dlg;
  for (int i = 0; i < 2; ++i) {
    dlg.m_fTime[i] =
        m_nBest[i] == NO_RECORD ? 0.0f : static_cast<float>(TicksToSeconds(m_nBest[i]));
  }
  dlg.DoModal();
}
