#include "results/site/table_rows.h"

#include "report/report_fields.h"

TableRow::TableRow(const CheckedEntry& entry, int limit, std::size_t rank)
    : entry(entry), limit(limit), rank(rank), rankText(rank > 0 ? std::to_string(rank) : "-") {}

std::string_view TitleOf(const Column& column) {
  return column.title != nullptr ? column.title : kReportFields[column.field].label;
}

std::string_view CellOf(const Column& column, const TableRow& row) {
  switch (column.cell) {
    case Cell::kLimit:
      return row.limit == kNoLimit ? "" : kLimits[row.limit].digits;
    case Cell::kRank:
      return row.rankText;
    case Cell::kTime:
      if (row.limit == kNoLimit) return "-";
      return row.entry.fields.text[kLimits[row.limit].field];
    case Cell::kField:
      return row.entry.fields.text[column.field];
    case Cell::kStatus:
      return row.entry.status;
    case Cell::kInRanking:
      if (FailsTimeChecks(row.entry)) return "要確認（順位表に載せない）";
      if (row.limit == kNoLimit) return "-";
      return row.rank > 0 ? "掲載" : "同じマシンのより速い報告を掲載";
  }
  return "";
}

std::string CountText(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string CountsLine(const ResultSet& results, const Rankings& rankings) {
  std::string line = "報告 " + CountText(results.read) + " 件を " + CountText(results.files) +
                     " 個のファイルから読みました。掲載 " + CountText(results.kept.size()) +
                     " 件（うち要確認 " + CountText(rankings.toCheck.size()) +
                     " 件）、重複としてまとめた報告 " + CountText(results.merged) + " 件。";
  line +=
      "時間の数値が読めない報告と 100,000 が 10,000 の 20 倍未満の報告は要確認として"
      "順位表に入れず、別のページに載せます。順位表には同じ人の同じマシン（名前、マシン名、ＣＰＵが"
      "同じ。"
      "全角と半角、大文字と小文字、空白やハイフンの違いは問いません）を上限値ごとに最速の 1 "
      "件だけ載せます: ";
  for (int limit = 0; limit < 2; ++limit) {
    if (limit > 0) line += "、";
    line += std::string(kLimits[limit].shown) + " は " + CountText(rankings.ranked[limit].size()) +
            " 件（報告 " + CountText(rankings.reports[limit].size()) + " 件から）";
  }
  line += "。";
  return line;
}
