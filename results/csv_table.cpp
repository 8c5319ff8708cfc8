#include "results/csv_table.h"

#include <vector>

#include "results/table_rows.h"

std::string CsvCell(std::string_view text, bool textColumn) {
  std::string cell = "\"";
  if (textColumn && !text.empty() &&
      (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' || text[0] == '\t')) {
    cell += '\'';
  }
  for (char c : text) {
    if (c == '"') cell += '"';
    // Line breaks inside the comment are CR LF like the rows'.
    if (c == '\n') cell += '\r';
    cell += c;
  }
  cell += '"';
  return cell;
}

namespace {

void AddRow(std::string& table, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) table += ',';
    // Limit, rank and time are numbers (or "-"); the rest is the users' text.
    table += CsvCell(cells[i], i > 2);
  }
  table += "\r\n";
}

void AddRows(std::string& table, const char* limit, const std::vector<TableRow>& rows) {
  for (const TableRow& row : rows) {
    std::vector<std::string> cells = {limit};
    cells.insert(cells.end(), row.cells.begin(), row.cells.end());
    cells.push_back(row.entry->fields.text[kComment]);
    AddRow(table, cells);
  }
}

}  // namespace

std::string CsvTable(const ResultSet& results, const ReportVocabulary& vocabulary) {
  std::string table = "\xEF\xBB\xBF";
  std::vector<std::string> titles = {"上限値"};
  for (const std::string& title : ColumnTitles(vocabulary)) titles.push_back(title);
  titles.push_back(vocabulary.labels[kComment]);
  AddRow(table, titles);
  AddRows(table, "10000", RankedRows(results, 0));
  AddRows(table, "100000", RankedRows(results, 1));
  AddRows(table, "", UnrankedRows(results));
  return table;
}
