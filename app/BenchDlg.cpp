#include "app/BenchDlg.h"

#include <cstdio>

#include "app/best_record.h"
#include "app/seconds_text.h"
#include "bench/prime_timer.h"
#include "bench/tick_clock.h"
#include "framework/CWinApp.h"

int g_nLimit;

namespace {

// Posted by the worker with its two tick counts (start in wParam, end in lParam).
constexpr UINT WM_MEASURE_DONE = WM_APP + 1;

const char kMeasuring[] = "測定中";
const char kStart[] = "測定開始";

}  // namespace

const MessageMapEntry<CBenchDlg> CBenchDlg::kMessageMap[] = {
    OnCommandEntry(IDC_REPORT, BN_CLICKED, &CBenchDlg::OnReport),
    OnCommandEntry(IDC_LIMIT, CBN_SELCHANGE, &CBenchDlg::OnSelchangeLimit),
    OnMessageEntry(WM_MEASURE_DONE, &CBenchDlg::OnMeasureDoneMessage),
};

CBenchDlg::CBenchDlg(CWnd* pParent) : CDialog(IDD, pParent) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CBenchDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
}

bool CBenchDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return RouteMessage(*this, kMessageMap, message, wParam, lParam, result);
}

BOOL CBenchDlg::OnInitDialog() {
  CDialog::OnInitDialog();

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
  SetDlgItemText(IDC_RESULT, kMeasuring);
  GetDlgItem(IDOK).SetWindowText(kMeasuring);
  GetDlgItem(IDOK).EnableWindow(FALSE);
  GetDlgItem(IDC_REPORT).EnableWindow(FALSE);
  GetDlgItem(IDC_LIMIT).EnableWindow(FALSE);

  g_nLimit = m_nLimit[m_nSel];

  // The worker gets the window's handle: all it does with the window is post to it.
  DWORD dwThreadId;
  HANDLE hThread = ::CreateThread(nullptr, 0, MeasureThreadProc, m_hWnd, 0, &dwThreadId);
  if (!hThread) {
    std::printf("CreateThread error (%d)\n", static_cast<int>(::GetLastError()));
    // No run will ever complete: give the window back rather than leave it measuring.
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
  ::PostMessageA(static_cast<HWND>(pParam), WM_MEASURE_DONE,
                 static_cast<WPARAM>(static_cast<unsigned>(timer.m_start)),
                 static_cast<LPARAM>(timer.m_end));
  return 0;
}

LRESULT CBenchDlg::OnMeasureDoneMessage(WPARAM wParam, LPARAM lParam) {
  OnMeasureDone(static_cast<int>(static_cast<unsigned>(wParam)), static_cast<int>(lParam));
  return 0;
}

void CBenchDlg::OnMeasureDone(int nStart, int nEnd) {
  int nElapsed = ElapsedTicks(nStart, nEnd);
  SetDlgItemText(IDC_RESULT, FormatTicks(nElapsed).text);
  ShowIdle();

  // The list was disabled for the whole run, so m_nSel is still the limit measured.
  if (IsNewRecord(nElapsed, m_nBest[m_nSel])) {
    m_nBest[m_nSel] = nElapsed;
    SetDlgItemText(IDC_BEST, FormatTicks(nElapsed).text);
    ::MessageBeep(0xFFFFFFFF);
  }
}

// Start caption back, then Start, Report and the list enabled, in that order.
void CBenchDlg::ShowIdle() {
  GetDlgItem(IDOK).SetWindowText(kStart);
  GetDlgItem(IDOK).EnableWindow(TRUE);
  GetDlgItem(IDC_REPORT).EnableWindow(TRUE);
  GetDlgItem(IDC_LIMIT).EnableWindow(TRUE);
}

void CBenchDlg::OnSelchangeLimit() {
  int nSel = static_cast<int>(GetDlgItem(IDC_LIMIT).SendMessage(CB_GETCURSEL));
  if (nSel != 0 && nSel != 1) return;  // the list offers two limits; anything else is no choice
  m_nSel = nSel;
  SetDlgItemText(IDC_BEST, m_nBest[m_nSel] == NO_RECORD ? "" : FormatTicks(m_nBest[m_nSel]).text);
  SetDlgItemText(IDC_RESULT, "");
}

void CBenchDlg::OnReport() {}
