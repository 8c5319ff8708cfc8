// One received file's bytes to its checked entries.
#ifndef TARVOLO_RESULTS_REPORT_READER_H
#define TARVOLO_RESULTS_REPORT_READER_H

#include <string_view>

#include "results/result_set.h"

// Decodes the bytes, finds every entry in them, reads and checks its fields and
// adds it to results. Returns the number of entries found.
std::size_t AddReports(std::string_view bytes, const ReportVocabulary& vocabulary,
                       ResultSet& results);

#endif
