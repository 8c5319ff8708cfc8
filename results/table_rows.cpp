#include "results/table_rows.h"

namespace {

constexpr Field kShownFields[] = {kName, kMachine, kCpu, kClock, kOs};

TableRow RowOf(const CheckedEntry& entry, std::string rank, std::string time) {
  TableRow row{{std::move(rank), std::move(time)}, &entry, entry.flags != 0};
  for (Field field : kShownFields) row.cells.push_back(entry.fields.text[field]);
  row.cells.push_back(StatusText(entry));
  return row;
}

}  // namespace

std::vector<std::string> ColumnTitles(const ReportVocabulary& vocabulary) {
  std::vector<std::string> titles = {"順位", "秒"};
  for (Field field : kShownFields) titles.push_back(vocabulary.labels[field]);
  titles.push_back("状態");
  return titles;
}

std::vector<TableRow> RankedRows(const ResultSet& results, int limit) {
  std::vector<TableRow> rows;
  const Field figure = limit == 0 ? kTime10000 : kTime100000;
  for (const RankedRow& ranked : Ranking(results, limit)) {
    rows.push_back(
        RowOf(*ranked.entry, std::to_string(ranked.rank), ranked.entry->fields.text[figure]));
  }
  return rows;
}

std::vector<TableRow> UnrankedRows(const ResultSet& results) {
  std::vector<TableRow> rows;
  for (const CheckedEntry* entry : Unranked(results)) rows.push_back(RowOf(*entry, "-", "-"));
  return rows;
}

std::string CountsLine(const ResultSet& results) {
  return "報告 " + std::to_string(results.read) + " 件を " + std::to_string(results.files) +
         " 個のファイルから読みました。掲載 " + std::to_string(results.kept.size()) +
         " 件（うち要確認 " + std::to_string(results.Flagged()) + " 件）、重複としてまとめた報告 " +
         std::to_string(results.merged) + " 件。";
}
