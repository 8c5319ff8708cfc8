// Finding the entries in a received text, whatever precedes or follows them.
#ifndef TARVOLO_RESULTS_ENTRY_FINDER_H
#define TARVOLO_RESULTS_ENTRY_FINDER_H

#include <cstddef>
#include <string_view>
#include <vector>

#include "results/report_lines.h"
#include "results/report_vocabulary.h"

struct FoundEntry {
  std::size_t firstLine, endLine;  // its lines: [firstLine, endLine)
  std::string_view text;           // its bytes as received
};

// Each entry starts at an entry header or at the mail line "To <maker>" (a mail
// line after a header, with only blank lines between, is part of the header's
// entry) and runs to the start of the next entry or to the end of the text.
// lines are SplitIntoLines(text).
std::vector<FoundEntry> FindEntries(const std::vector<TextLine>& lines, std::string_view text,
                                    const ReportVocabulary& vocabulary);

#endif
