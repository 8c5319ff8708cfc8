#include "results/report_vocabulary.h"

#include "report/report_entry.h"
#include "report/report_text.h"
#include "results/text_decoding.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";
constexpr std::string_view kFigureFormat = "%3.3f";

}  // namespace

std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t length = 0;
  while (StartsWithBlank(text, &length)) text.remove_prefix(length);
  for (;;) {
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
      text.remove_suffix(1);
    } else if (text.size() >= kFullWidthSpace.size() &&
               text.substr(text.size() - kFullWidthSpace.size()) == kFullWidthSpace) {
      text.remove_suffix(kFullWidthSpace.size());
    } else {
      return text;
    }
  }
}

ReportVocabulary VocabularyFrom(std::string_view templateText, std::string_view headerText) {
  ReportVocabulary vocabulary;
  std::string_view header = headerText;
  while (!header.empty() && vocabulary.entryHeader.empty()) {
    vocabulary.entryHeader = std::string(TrimBlanks(TakeLine(header)));
  }
  std::string_view rest = templateText;
  vocabulary.mailLine = std::string(TrimBlanks(TakeLine(rest)));
  TakeLine(rest);  // the empty second line
  bool complete = !vocabulary.entryHeader.empty() && !vocabulary.mailLine.empty();
  for (int field = 0; field < kFieldCount; ++field) {
    const std::string_view line = TakeLine(rest);
    const std::size_t colon = line.find(kFullWidthColon);
    if (colon == std::string_view::npos) {
      complete = false;
      continue;
    }
    vocabulary.labels[field] = std::string(TrimBlanks(line.substr(0, colon)));
    // The two figure lines are the ones the template fills with "%3.3f".
    const bool figure = line.substr(colon + kFullWidthColon.size()) == kFigureFormat;
    const bool wanted = field == kTime10000 || field == kTime100000;
    complete = complete && !vocabulary.labels[field].empty() && figure == wanted;
  }
  vocabulary.complete = complete;
  return vocabulary;
}

const ReportVocabulary& TheReportVocabulary() {
  static const ReportVocabulary vocabulary =
      VocabularyFrom(DecodeAs(kReportTemplate, TextEncoding::kShiftJis).utf8,
                     DecodeAs(kEntryHeader, TextEncoding::kShiftJis).utf8);
  return vocabulary;
}
