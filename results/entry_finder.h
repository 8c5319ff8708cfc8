// Finding the entries in a received text, whatever precedes or follows them.
#ifndef TARVOLO_RESULTS_ENTRY_FINDER_H
#define TARVOLO_RESULTS_ENTRY_FINDER_H

#include <string_view>
#include <vector>

#include "results/report_vocabulary.h"

// A line as a label or marker is looked for in it: without the "> " quoting of a
// mail reply and without blanks at either end.
std::string_view LineContent(std::string_view line);

// Each entry starts at an entry header or at the mail line "To <maker>" (a mail
// line after a header, with only blank lines between, is part of the header's
// entry) and runs to the start of the next entry or to the end of the text.
std::vector<std::string_view> FindEntries(std::string_view text,
                                          const ReportVocabulary& vocabulary);

#endif
