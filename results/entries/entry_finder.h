// Finding the entries in a received text, whatever precedes or follows them.
#ifndef TARVOLO_RESULTS_ENTRIES_ENTRY_FINDER_H
#define TARVOLO_RESULTS_ENTRIES_ENTRY_FINDER_H

#include <cstddef>
#include <string_view>
#include <vector>

#include "results/entries/report_lines.h"

struct FoundEntry {
  std::size_t firstLine, endLine;  // its lines: [firstLine, endLine)
  std::string_view text;           // its bytes, up to the next entry
};

// Each entry starts at the entry header line or at the report's mail line "To
// <maker>" (a mail line after a header, with only blank lines between, is part
// of the header's entry) and runs to the start of the next entry, to a quote
// or to the end of the text. A quoted line starts none. lines are
// SplitIntoLines(text), their quotes marked (MarkQuotedLines).
std::vector<FoundEntry> FindEntries(const std::vector<TextLine>& lines, std::string_view text);

#endif
