#include "report/ReportDlg.h"

#include <vector>

#include "framework/CFileDialog.h"
#include "report/figure_check.h"
#include "report/report_entry.h"

const MessageMapEntry<CReportDlg> CReportDlg::kMessageMap[] = {
    OnCommandEntry(IDC_REPORT_TEXT, EN_CHANGE, &CReportDlg::OnChangeReportText),
};

void CReportDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
}

bool CReportDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return RouteMessage(*this, kMessageMap, message, wParam, lParam, result);
}

BOOL CReportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ComposeReport(m_fTime[0], m_fTime[1], m_szReport);
  SetDlgItemText(IDC_REPORT_TEXT, m_szReport);
  SetDlgItemText(IDC_NOTICE, kReportNotice);
  return TRUE;
}

bool CReportDlg::FiguresStillThere() {
  GetDlgItem(IDC_REPORT_TEXT).GetWindowText(m_szReport, sizeof m_szReport);
  return FiguresPresent(m_szReport, m_fTime[0], m_fTime[1]);
}

bool CReportDlg::ReportFitsBuffer() const {
  CWnd edit = GetDlgItem(IDC_REPORT_TEXT);
  // The length in bytes may be overstated for double-byte text, so read it all
  // and count what arrived.
  int nLength = ::GetWindowTextLengthA(edit.m_hWnd);
  if (nLength < static_cast<int>(sizeof m_szReport)) return true;
  std::vector<char> text(static_cast<size_t>(nLength) + 1);
  int nRead = edit.GetWindowText(text.data(), static_cast<int>(text.size()));
  return nRead < static_cast<int>(sizeof m_szReport);
}

void CReportDlg::OnChangeReportText() {
  if (!FiguresStillThere()) MessageBox("不正のにおいがする...");
}

void CReportDlg::OnOK() {
  // Saving only the part that fits would lose the end of what the user wrote.
  if (!ReportFitsBuffer()) {
    MessageBox("報告書が長すぎます。");
    return;
  }
  if (!FiguresStillThere()) {
    MessageBox("うそをついちゃイカンよ。きみィ");
    return;
  }

  CFileDialog dlgFile(TRUE, nullptr, "*.txt", 0, "(結果報告)*.txt|*.txt||");
  if (dlgFile.DoModal() != IDOK) return;

  switch (AppendReportEntry(dlgFile.GetPathName().c_str(), m_szReport)) {
    case EntryResult::kWritten:
      break;
    case EntryResult::kCannotOpen:
      MessageBox("ファイルが開けません");
      break;
    case EntryResult::kWriteFailed:
      MessageBox("ファイルに書き込めません");
      break;
  }
}
