// results.csv: the page's rows for a spreadsheet. UTF-8 with BOM and CR LF, so
// that a spreadsheet opens it in Japanese; every cell quoted.
#ifndef TARVOLO_RESULTS_CSV_TABLE_H
#define TARVOLO_RESULTS_CSV_TABLE_H

#include <string>
#include <string_view>

#include "results/result_set.h"

// Appends one cell, quoted; a users' text that a spreadsheet would take for a
// formula (= + - @ or a tab at its start) gets a leading apostrophe.
void AppendCsvCell(std::string& out, std::string_view text, bool usersText);

// Columns: limit, then the page's columns, then the comment.
std::string CsvTable(const ResultSet& results, const ReportVocabulary& vocabulary);

#endif
