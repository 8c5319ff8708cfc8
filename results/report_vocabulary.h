// What marks an entry and its fields in a received report, taken from the
// report's own template and entry header (report/), so that the writer and the
// reader of an entry cannot disagree. In UTF-8, as the received text is read.
#ifndef TARVOLO_RESULTS_REPORT_VOCABULARY_H
#define TARVOLO_RESULTS_REPORT_VOCABULARY_H

#include <string>
#include <string_view>

// The fields in the order of the template's lines 3 to 10.
enum Field { kName, kTime10000, kTime100000, kMachine, kCpu, kClock, kOs, kComment, kFieldCount };

struct ReportVocabulary {
  std::string entryHeader;  // "★★★★★ Tarvolo 結果報告書 ★★★★★"
  std::string mailLine;     // "To " and the maker's address
  std::string labels[kFieldCount];
  bool complete = false;  // every label found where the template keeps it
};

// Derived from a template and an entry header given in UTF-8.
ReportVocabulary VocabularyFrom(std::string_view templateText, std::string_view headerText);

// Derived once from report/'s Shift_JIS constants.
const ReportVocabulary& TheReportVocabulary();

// "：", the colon after every label of the template.
inline constexpr std::string_view kFullWidthColon = "\xEF\xBC\x9A";

// One line without its line break (LF, CR LF, or the CR CR LF of a report file
// written in text mode); text is advanced past it.
std::string_view TakeLine(std::string_view& text);

// Space, tab and the full-width space: what may stand between a label and its
// colon. Called for every line of every entry, hence inline.
inline bool StartsWithBlank(std::string_view text, std::size_t* length) {
  if (text.empty()) return false;
  if (text[0] == ' ' || text[0] == '\t') {
    *length = 1;
    return true;
  }
  if (text.size() >= 3 && text[0] == '\xE3' && text[1] == '\x80' && text[2] == '\x80') {
    *length = 3;
    return true;
  }
  return false;
}

std::string_view TrimBlanks(std::string_view text);

#endif
