#include "report/report_text.h"

#include <cstddef>
#include <cstring>

#include "bench/seconds_text.h"
#include "report/report_fields.h"

// A literal, so that the address can be pasted into the notice.
#define TARVOLO_MAKER_WEB "https://tarvolo.example/"

const char kMakerMail[] = TARVOLO_MAKER_MAIL;
const char kMakerWeb[] = TARVOLO_MAKER_WEB;
const char kReportNotice[] = "結果は " TARVOLO_MAKER_WEB " で公開しています。";

#undef TARVOLO_MAKER_WEB

namespace {

// The report as it grows; what would run past the buffer is cut, though even
// the largest figures leave the report a few hundred bytes long.
class ReportWriter {
 public:
  explicit ReportWriter(char (&szReport)[kReportBytes]) : szReport_(szReport) {
    szReport_[0] = '\0';
  }
  void Add(const char* text) { Add(text, std::strlen(text)); }
  void Add(const char* text, std::size_t count) {
    if (count > kReportBytes - 1 - used_) count = kReportBytes - 1 - used_;
    std::memcpy(szReport_ + used_, text, count);
    used_ += count;
    szReport_[used_] = '\0';
  }
  void AddSpaces(int count) {
    for (int i = 0; i < count; ++i) Add(" ", 1);
  }

 private:
  char (&szReport_)[kReportBytes];
  std::size_t used_ = 0;
};

}  // namespace

void ComposeReport(float fTime10000, float fTime100000, char (&szReport)[kReportBytes]) {
  const float times[] = {fTime10000, fTime100000};
  int nextTime = 0;
  ReportWriter report(szReport);
  report.Add(kReportMailLine);
  report.Add("\r\n\r\n");
  for (const ReportField& field : kReportFields) {
    report.Add(field.label);
    report.AddSpaces(field.padding);
    report.Add(kLabelColon);
    if (field.figure) report.Add(FormatSeconds(static_cast<double>(times[nextTime++])).text);
    report.Add("\r\n");
  }
}
