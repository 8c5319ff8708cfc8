// The rows both the page and the table show, as UTF-8 cell texts: rank, time,
// name, machine, CPU, clock, OS and status.
#ifndef TARVOLO_RESULTS_TABLE_ROWS_H
#define TARVOLO_RESULTS_TABLE_ROWS_H

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "results/result_set.h"

constexpr std::size_t kColumnCount = 8;

struct TableRow {
  std::string rank;  // "-" for an entry without a time
  std::string_view time;
  const CheckedEntry* entry;
};

// The cells of a row, in column order; they point into the row and its entry.
std::array<std::string_view, kColumnCount> CellsOf(const TableRow& row);

// The column titles; the field columns carry the report's own labels.
std::array<std::string_view, kColumnCount> ColumnTitles(const ReportVocabulary& vocabulary);

// The ranking at a limit (0: 10,000, 1: 100,000); the time as the report wrote it.
std::vector<TableRow> RankedRows(const ResultSet& results, int limit);

// The entries without a time at either limit: rank and time are "-".
std::vector<TableRow> UnrankedRows(const ResultSet& results);

// "報告 R 件を F 個のファイルから読みました。…": read, kept, flagged, merged.
std::string CountsLine(const ResultSet& results);

#endif
