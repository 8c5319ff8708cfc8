// CReportDlg: the result report window. Shows the report with both best times,
// warns whenever an edit leaves a measured figure out, and appends the report to
// a file the user picks.
#ifndef TARVOLO_REPORT_REPORTDLG_H
#define TARVOLO_REPORT_REPORTDLG_H

#include <optional>
#include <string>

#include "bench/limit_slots.h"
#include "framework/CDialogImpl.h"
#include "framework/CodePageText.h"
#include "report/report_text.h"
#include "res/resource.h"

class CReportDlg : public CDialogImpl<CReportDlg> {
 public:
  enum { IDD = IDD_REPORT };

  explicit CReportDlg(CWnd* pParent = nullptr) : CDialogImpl(pParent) {}

  // Best times in seconds: slot 0 for 10000, slot 1 for 100000; 0 for no record.
  float m_fTime[kLimitSlots];
  char m_szReport[kReportBytes];

 protected:
  void DoDataExchange(CDataExchange* pDX) override { CDialog::DoDataExchange(pDX); }
  BOOL OnInitDialog() override;
  // Save: never closes the window.
  void OnOK() override;

 private:
  void OnChangeReportText();
  // Reads the edit box's whole text once, in the report file's code page, and
  // into m_szReport what fits.
  CodePageText ReadReportText();
  // The text of the box that refuses to save `text` (too long, a figure missing, a
  // character the file cannot hold: checked in that order); empty when it may be saved.
  std::string SaveRefusal(const CodePageText& text) const;
  // The file the user picks, as a UTF-8 path; none when the dialog was cancelled
  // or failed (a failure has said so in a box).
  std::optional<std::string> ChooseFile();
  // Appends m_szReport to the file at `path`; a failure says so in a box.
  void AppendToFile(const std::string& path);

 public:
  static constexpr MessageMapEntry<CReportDlg> kMessageMap[] = {
      OnCommandEntry(IDC_REPORT_TEXT, EN_CHANGE, &CReportDlg::OnChangeReportText),
  };
};

#endif
