// Received texts to their checked entries.
#ifndef TARVOLO_RESULTS_REPORT_READER_H
#define TARVOLO_RESULTS_REPORT_READER_H

#include <string_view>

#include "results/mail_reader.h"
#include "results/result_set.h"

// Decodes the bytes (their encoding guessed), finds every entry in them, reads
// and checks its fields and adds it to results. Returns the number of entries
// found.
std::size_t AddReports(std::string_view bytes, const ReportVocabulary& vocabulary,
                       ResultSet& results);

// The same for a mail's text part: decoded by its declared charset, an HTML
// part's tags dropped, and every entry of a damaged mail flagged. An entry
// ends where its part ends.
std::size_t AddReports(const TextPart& part, const ReportVocabulary& vocabulary,
                       ResultSet& results);

#endif
