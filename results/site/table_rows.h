// The rows the pages and the table show, and their columns, said once: the
// pages show the columns marked for them, results.csv shows all.
#ifndef TARVOLO_RESULTS_SITE_TABLE_ROWS_H
#define TARVOLO_RESULTS_SITE_TABLE_ROWS_H

#include <string>
#include <string_view>

#include "results/entries/entry.h"
#include "results/rank/ranking.h"
#include "results/rank/result_set.h"

// A report at a limit (an index of kLimits), or one measured at neither.
constexpr int kNoLimit = -1;

struct TableRow {
  TableRow(const CheckedEntry& entry, int limit, std::size_t rank);
  const CheckedEntry& entry;
  int limit;
  std::size_t rank;      // 0: not ranked
  std::string rankText;  // "-" when not ranked
};

enum class Cell {
  kLimit,      // the limit, for the table's rows of both rankings
  kRank,       // a number or "-"
  kTime,       // the figure as the report wrote it, or "-"
  kField,      // what the user wrote
  kStatus,     // what the entry's checks found
  kInRanking,  // whether the row is its machine's ranked one
};

struct Column {
  Cell cell;
  Field field;        // for kField, and for the title of its column
  const char* title;  // nullptr: the report's own label of field
  bool onPages;       // the table has every column
};

inline constexpr Column kColumns[] = {
    {Cell::kLimit, kFieldCount, "上限値", false}, {Cell::kRank, kFieldCount, "順位", true},
    {Cell::kTime, kFieldCount, "秒", true},       {Cell::kField, kName, nullptr, true},
    {Cell::kField, kMachine, nullptr, true},      {Cell::kField, kCpu, nullptr, true},
    {Cell::kField, kClock, nullptr, true},        {Cell::kField, kOs, nullptr, true},
    {Cell::kStatus, kFieldCount, "状態", true},   {Cell::kInRanking, kFieldCount, "順位表", false},
    {Cell::kField, kComment, nullptr, false},
};

std::string_view TitleOf(const Column& column);

// The cell's UTF-8 text; it points into the row and its entry.
std::string_view CellOf(const Column& column, const TableRow& row);

// Right-aligned on the pages.
inline bool IsNumber(const Column& column) {
  return column.cell == Cell::kRank || column.cell == Cell::kTime;
}

// A user's text, which a spreadsheet must not take for a formula.
inline bool IsUsersText(const Column& column) {
  return column.cell == Cell::kField;
}

// A count as a visitor reads it: "12,345".
std::string CountText(std::size_t count);

// "報告 R 件を F 個のファイルから読みました。…": read, kept, flagged, merged, and
// how many reports stand behind the ranked rows of each limit.
std::string CountsLine(const ResultSet& results, const Rankings& rankings);

#endif
