#include "results/csv_table.h"

#include <vector>

#include "results/table_rows.h"

void AppendCsvCell(std::string& out, std::string_view text, bool usersText) {
  out += '"';
  if (usersText && !text.empty() &&
      (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' || text[0] == '\t')) {
    out += '\'';
  }
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Quotes doubled; line breaks inside the comment are CR LF like the rows'.
    if (text[i] != '"' && text[i] != '\n') continue;
    out.append(text.data() + done, i - done);
    out += text[i] == '"' ? "\"\"" : "\r\n";
    done = i + 1;
  }
  out.append(text.data() + done, text.size() - done);
  out += '"';
}

namespace {

// Limit, rank and time are numbers (or "-"), the status is the tool's; the
// rest is the users' text.
constexpr bool kUsersText[kColumnCount + 2] = {false, false, false, true,  true,
                                               true,  true,  true,  false, true};

void AddRow(std::string& table, const std::string_view (&cells)[kColumnCount + 2]) {
  for (std::size_t i = 0; i < kColumnCount + 2; ++i) {
    if (i > 0) table += ',';
    AppendCsvCell(table, cells[i], kUsersText[i]);
  }
  table += "\r\n";
}

void AddRows(std::string& table, std::string_view limit, const std::vector<TableRow>& rows) {
  for (const TableRow& row : rows) {
    const auto page = CellsOf(row);
    const std::string_view cells[] = {
        limit,   page[0], page[1], page[2], page[3],
        page[4], page[5], page[6], page[7], row.entry->fields.text[kComment]};
    AddRow(table, cells);
  }
}

}  // namespace

std::string CsvTable(const ResultSet& results, const ReportVocabulary& vocabulary) {
  std::string table = "\xEF\xBB\xBF";
  table.reserve(results.kept.size() * 2 * 500);  // a row with its comment is about 400 bytes
  const auto page = ColumnTitles(vocabulary);
  const std::string_view titles[] = {
      "上限値", page[0], page[1], page[2], page[3],
      page[4],  page[5], page[6], page[7], vocabulary.labels[kComment]};
  AddRow(table, titles);
  AddRows(table, "10000", RankedRows(results, 0));
  AddRows(table, "100000", RankedRows(results, 1));
  AddRows(table, "", UnrankedRows(results));
  return table;
}
