// The rows the pages and the table show, and their columns, said once: each
// table shows the columns marked for it.
#ifndef TARVOLO_RESULTS_SITE_TABLE_ROWS_H
#define TARVOLO_RESULTS_SITE_TABLE_ROWS_H

#include <string>
#include <string_view>

#include "report/report_fields.h"
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

// The tables a column is in: the pages' rankings (of a limit or a processor, and
// the entries measured at neither), the pages' entries to check, results.csv.
enum TableKind : unsigned {
  kRankingTable = 1u << 0,
  kCheckTable = 1u << 1,
  kCsvTable = 1u << 2,
};
constexpr unsigned kEveryTable = kRankingTable | kCheckTable | kCsvTable;

struct Column {
  Cell cell;
  Field field;        // for kField, and for the title of its column
  const char* title;  // nullptr: the report's own label of field
  unsigned tables;    // TableKind bits
};

// An entry to check shows both its figures as written, so that a visitor sees
// what is wrong with them.
inline constexpr Column kColumns[] = {
    {Cell::kLimit, kFieldCount, "上限値", kCsvTable},
    {Cell::kRank, kFieldCount, "順位", kRankingTable | kCsvTable},
    {Cell::kTime, kFieldCount, "秒", kRankingTable | kCsvTable},
    {Cell::kField, kTime10000, nullptr, kCheckTable},
    {Cell::kField, kTime100000, nullptr, kCheckTable},
    {Cell::kField, kName, nullptr, kEveryTable},
    {Cell::kField, kMachine, nullptr, kEveryTable},
    {Cell::kField, kCpu, nullptr, kEveryTable},
    {Cell::kField, kClock, nullptr, kEveryTable},
    {Cell::kField, kOs, nullptr, kEveryTable},
    {Cell::kStatus, kFieldCount, "状態", kEveryTable},
    {Cell::kInRanking, kFieldCount, "順位表", kCsvTable},
    {Cell::kField, kComment, nullptr, kCsvTable},
};

std::string_view TitleOf(const Column& column);

// The cell's UTF-8 text; it points into the row and its entry.
std::string_view CellOf(const Column& column, const TableRow& row);

// Right-aligned on the pages.
inline bool IsNumber(const Column& column) {
  return column.cell == Cell::kRank || column.cell == Cell::kTime ||
         (column.cell == Cell::kField && kReportFields[column.field].figure);
}

// A user's text, which a spreadsheet must not take for a formula: a time of an
// entry to check is what the user wrote in its place.
inline bool IsUsersText(const Column& column) {
  return column.cell == Cell::kField || column.cell == Cell::kTime;
}

// A count as a visitor reads it: "12,345".
std::string CountText(std::size_t count);

// "報告 R 件を F 個のファイルから読みました。…": read, kept, to check, merged,
// and how many reports stand behind the ranked rows of each limit.
std::string CountsLine(const ResultSet& results, const Rankings& rankings);

#endif
