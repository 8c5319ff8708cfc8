// What marks an entry and its fields in a received report: the table of the
// report's fields that the program writes its report from (report/), here in
// UTF-8, as the received text is read.
#ifndef TARVOLO_RESULTS_REPORT_VOCABULARY_H
#define TARVOLO_RESULTS_REPORT_VOCABULARY_H

#include <string>
#include <string_view>

#include "report/report_fields.h"

struct ReportVocabulary {
  std::string entryHeader;  // "★★★★★ Tarvolo 結果報告書 ★★★★★"
  std::string mailLine;     // "To " and the maker's address
  std::string labels[kFieldCount];
};

const ReportVocabulary& TheReportVocabulary();

// "：", the colon after every label of the report.
constexpr std::string_view kFullWidthColon = kLabelColon;

#endif
