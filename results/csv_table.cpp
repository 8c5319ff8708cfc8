#include "results/csv_table.h"

#include <algorithm>
#include <vector>

#include "results/table_rows.h"

void AppendCsvCell(std::string& out, std::string_view text, bool usersText) {
  out += '"';
  if (usersText && !text.empty() &&
      (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' || text[0] == '\t')) {
    out += '\'';
  }
  // Quotes doubled; line breaks inside the comment are CR LF like the rows'.
  // Found by memchr (string_view::find), as comments make most of the table.
  std::size_t done = 0;
  std::size_t quote = text.find('"');
  std::size_t lineFeed = text.find('\n');
  for (;;) {
    const std::size_t next = std::min(quote, lineFeed);
    if (next == std::string_view::npos) break;
    out.append(text.data() + done, next - done);
    out += next == quote ? "\"\"" : "\r\n";
    done = next + 1;
    if (next == quote) {
      quote = text.find('"', done);
    } else {
      lineFeed = text.find('\n', done);
    }
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
