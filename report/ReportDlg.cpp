#include "report/ReportDlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/CFileDialog.h"
#include "report/figure_check.h"
#include "report/report_entry.h"

namespace {

// The report file's code page: Shift_JIS, as everything the program writes.
constexpr UINT kReportCodePage = 932;

}  // namespace

void CReportDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
}

BOOL CReportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ComposeReport(m_fTime[0], m_fTime[1], m_szReport);
  SetDlgItemText(IDC_REPORT_TEXT, m_szReport);
  SetDlgItemText(IDC_NOTICE, kReportNotice);
  return TRUE;
}

std::string CReportDlg::ReadReportText() {
  CWnd edit = GetDlgItem(IDC_REPORT_TEXT);
  // The length in bytes may be overstated for double-byte text, so read it all
  // and keep what arrived.
  int nLength = ::GetWindowTextLengthA(edit.m_hWnd);
  std::vector<char> text(static_cast<size_t>(std::max(nLength, 0)) + 1);
  int nRead = edit.GetWindowText(text.data(), static_cast<int>(text.size()));
  std::string whole(text.data(), static_cast<size_t>(std::max(nRead, 0)));
  size_t nKept = std::min(whole.size(), sizeof m_szReport - 1);
  std::memcpy(m_szReport, whole.data(), nKept);
  m_szReport[nKept] = '\0';
  return whole;
}

unsigned CReportDlg::FirstUnsavableCharacter() const {
  HWND hEdit = GetDlgItem(IDC_REPORT_TEXT).m_hWnd;
  int nLength = ::GetWindowTextLengthW(hEdit);
  std::vector<wchar_t> text(static_cast<size_t>(std::max(nLength, 0)) + 1);
  int nRead = ::GetWindowTextW(hEdit, text.data(), static_cast<int>(text.size()));
  // One character at a time, so that the message can name the first one.
  for (int i = 0; i < nRead; ++i) {
    int nUnits = IS_HIGH_SURROGATE(text[i]) && i + 1 < nRead ? 2 : 1;
    char bytes[8];
    BOOL usedDefault = FALSE;
    int nBytes = ::WideCharToMultiByte(kReportCodePage, WC_NO_BEST_FIT_CHARS, &text[i], nUnits,
                                       bytes, sizeof bytes, nullptr, &usedDefault);
    if (nBytes == 0 || usedDefault) {
      if (nUnits == 2) return 0x10000 + ((text[i] - 0xD800u) << 10) + (text[i + 1] - 0xDC00u);
      return text[i];
    }
    i += nUnits - 1;
  }
  return 0;
}

void CReportDlg::OnChangeReportText() {
  // The whole text is checked, so that figures past the report buffer still count.
  std::string text = ReadReportText();
  if (!FiguresPresent(text.c_str(), m_fTime[0], m_fTime[1])) MessageBox("不正のにおいがする...");
}

void CReportDlg::OnOK() {
  // Saving only the part that fits would lose the end of what the user wrote.
  std::string text = ReadReportText();
  if (text.size() >= sizeof m_szReport) {
    MessageBox("報告書が長すぎます。");
    return;
  }
  if (!FiguresPresent(m_szReport, m_fTime[0], m_fTime[1])) {
    MessageBox("うそをついちゃイカンよ。きみィ");
    return;
  }
  // The file would get "?" in place of such a character, without a word.
  if (unsigned nCharacter = FirstUnsavableCharacter()) {
    char szMessage[128];
    std::snprintf(szMessage, sizeof szMessage, "Shift_JIS で保存できない文字があります (U+%04X)。",
                  nCharacter);
    MessageBox(szMessage);
    return;
  }

  CFileDialog dlgFile(TRUE, nullptr, "*.txt", 0, "(結果報告)*.txt|*.txt||");
  if (dlgFile.DoModal() != IDOK) {
    // Cancel is the user's choice; any other way out means nothing was saved.
    if (::CommDlgExtendedError() != 0) MessageBox("ファイルが開けません");
    return;
  }

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
