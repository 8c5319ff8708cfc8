// results.csv: every report for a spreadsheet, each ranking's rows with those
// its machine's faster report stands for, and the entries to check. UTF-8 with BOM and CR LF, so
// that a spreadsheet opens it in Japanese; every cell quoted.
#ifndef TARVOLO_RESULTS_SITE_CSV_TABLE_H
#define TARVOLO_RESULTS_SITE_CSV_TABLE_H

#include <functional>
#include <string_view>

#include "results/rank/ranking.h"

// Receives the table in pieces of about 64 KB, so that it is never held whole;
// false stops the writing.
using TableOut = std::function<bool(std::string_view bytes)>;

// Columns: those of kColumns marked for it. Rows: the reports at 10,000, at
// 100,000, those measured at neither, then the entries to check at 10,000 and
// at 100,000. False when out refused a piece.
bool WriteCsvTable(const Rankings& rankings, const TableOut& out);

#endif
