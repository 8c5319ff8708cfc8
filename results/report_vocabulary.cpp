#include "results/report_vocabulary.h"

namespace {

ReportVocabulary FromTheReportsFields() {
  ReportVocabulary vocabulary;
  vocabulary.entryHeader = kEntryHeaderLine;
  vocabulary.mailLine = kReportMailLine;
  for (int field = 0; field < kFieldCount; ++field) {
    vocabulary.labels[field] = kReportFields[field].label;
  }
  return vocabulary;
}

}  // namespace

const ReportVocabulary& TheReportVocabulary() {
  static const ReportVocabulary vocabulary = FromTheReportsFields();
  return vocabulary;
}
