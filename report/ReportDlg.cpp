#include "report/ReportDlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/CFileDialog.h"
#include "report/figure_check.h"
#include "report/report_entry.h"

namespace {

// The report file's code page: Shift_JIS, as everything the program writes.
constexpr UINT kReportCodePage = 932;

// Save's refusals before any file is chosen.
const char kTooLong[] = "報告書が長すぎます。";
const char kFiguresMissing[] = "うそをついちゃイカンよ。きみィ";

}  // namespace

BOOL CReportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ComposeReport(m_fTime[0], m_fTime[1], m_szReport);
  SetDlgItemText(IDC_REPORT_TEXT, m_szReport);
  SetDlgItemText(IDC_NOTICE, kReportNotice);
  return TRUE;
}

CodePageText CReportDlg::ReadReportText() {
  CodePageText text = ReadTextInCodePage(GetDlgItem(IDC_REPORT_TEXT).m_hWnd, kReportCodePage);
  size_t nKept = std::min(text.bytes.size(), sizeof m_szReport - 1);
  std::memcpy(m_szReport, text.bytes.data(), nKept);
  m_szReport[nKept] = '\0';
  return text;
}

void CReportDlg::OnChangeReportText() {
  // The whole text is checked, so that figures past the report buffer still count.
  CodePageText text = ReadReportText();
  if (!FiguresPresent(text.bytes.c_str(), m_fTime[0], m_fTime[1])) {
    MessageBox("不正のにおいがする...");
  }
}

void CReportDlg::OnOK() {
  const std::string refusal = SaveRefusal(ReadReportText());
  if (!refusal.empty()) {
    MessageBox(refusal.c_str());
    return;
  }
  if (const std::optional<std::string> path = ChooseFile()) AppendToFile(*path);
}

std::string CReportDlg::SaveRefusal(const CodePageText& text) const {
  // Saving only the part that fits would lose the end of what the user wrote.
  if (text.bytes.size() >= sizeof m_szReport) return kTooLong;
  if (!FiguresPresent(text.bytes.c_str(), m_fTime[0], m_fTime[1])) return kFiguresMissing;
  // The file would get "?" in place of such a character, without a word.
  if (text.nFirstMissing != 0) {
    char szMessage[128];
    std::snprintf(szMessage, sizeof szMessage, "Shift_JIS で保存できない文字があります (U+%04X)。",
                  text.nFirstMissing);
    return szMessage;
  }
  return "";
}

std::optional<std::string> CReportDlg::ChooseFile() {
  // The Open form, not Save: it accepts a file that does not exist yet and asks
  // nothing about overwriting, which suits a file the report is appended to.
  CFileDialog dlgFile(TRUE, nullptr, "*.txt", 0, "(結果報告)*.txt|*.txt||");
  if (dlgFile.DoModal() != IDOK) {
    // Cancel is the user's choice; any other way out means nothing was saved.
    if (::CommDlgExtendedError() != 0) MessageBox("ファイルが開けません");
    return std::nullopt;
  }
  // The path exactly as chosen: through the code page "résumé.txt" would become
  // "resume.txt", another file. A path UTF-8 cannot carry comes out empty, which
  // opens nothing.
  return ToCodePage(dlgFile.GetUnicodePathName(), CP_UTF8);
}

void CReportDlg::AppendToFile(const std::string& path) {
  switch (AppendReportEntry(path.c_str(), m_szReport)) {
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
