// results.csv: the page's rows for a spreadsheet. UTF-8 with BOM and CR LF, so
// that a spreadsheet opens it in Japanese; every cell quoted.
#ifndef TARVOLO_RESULTS_CSV_TABLE_H
#define TARVOLO_RESULTS_CSV_TABLE_H

#include <string>
#include <string_view>

#include "results/result_set.h"

// One cell, quoted; a text a spreadsheet would take for a formula (= + - @ at
// its start) gets a leading apostrophe.
std::string CsvCell(std::string_view text, bool textColumn);

// Columns: limit, then the page's columns, then the comment.
std::string CsvTable(const ResultSet& results, const ReportVocabulary& vocabulary);

#endif
