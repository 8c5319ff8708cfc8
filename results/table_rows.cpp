#include "results/table_rows.h"

namespace {

constexpr Field kShownFields[] = {kName, kMachine, kCpu, kClock, kOs};

}  // namespace

std::array<std::string_view, kColumnCount> CellsOf(const TableRow& row) {
  std::array<std::string_view, kColumnCount> cells;
  cells[0] = row.rank;
  cells[1] = row.time;
  for (std::size_t i = 0; i < std::size(kShownFields); ++i) {
    cells[2 + i] = row.entry->fields.text[kShownFields[i]];
  }
  cells[kColumnCount - 1] = row.entry->status;
  return cells;
}

std::array<std::string_view, kColumnCount> ColumnTitles(const ReportVocabulary& vocabulary) {
  std::array<std::string_view, kColumnCount> titles;
  titles[0] = "順位";
  titles[1] = "秒";
  for (std::size_t i = 0; i < std::size(kShownFields); ++i) {
    titles[2 + i] = vocabulary.labels[kShownFields[i]];
  }
  titles[kColumnCount - 1] = "状態";
  return titles;
}

std::vector<TableRow> RankedRows(const ResultSet& results, int limit) {
  std::vector<TableRow> rows;
  const Field figure = limit == 0 ? kTime10000 : kTime100000;
  for (const RankedRow& ranked : Ranking(results, limit)) {
    rows.push_back({std::to_string(ranked.rank), ranked.entry->fields.text[figure], ranked.entry});
  }
  return rows;
}

std::vector<TableRow> UnrankedRows(const ResultSet& results) {
  std::vector<TableRow> rows;
  for (const CheckedEntry* entry : Unranked(results)) rows.push_back({"-", "-", entry});
  return rows;
}

std::string CountsLine(const ResultSet& results) {
  return "報告 " + std::to_string(results.read) + " 件を " + std::to_string(results.files) +
         " 個のファイルから読みました。掲載 " + std::to_string(results.kept.size()) +
         " 件（うち要確認 " + std::to_string(results.Flagged()) + " 件）、重複としてまとめた報告 " +
         std::to_string(results.merged) + " 件。";
}
