#include "results/site/csv_table.h"

#include <algorithm>
#include <string>

#include "results/site/table_rows.h"

namespace {

constexpr std::size_t kPieceBytes = 1 << 16;

// Appends one cell, quoted; a users' text that a spreadsheet would take for a
// formula (= + - @ or a tab at its start) gets a leading apostrophe.
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

void AppendRow(std::string& table, const TableRow& row) {
  for (const Column& column : kColumns) {
    if (&column != kColumns) table += ',';
    AppendCsvCell(table, CellOf(column, row), IsUsersText(column));
  }
  table += "\r\n";
}

}  // namespace

bool WriteCsvTable(const Rankings& rankings, const TableOut& out) {
  std::string table = "\xEF\xBB\xBF";
  table.reserve(2 * kPieceBytes);
  for (const Column& column : kColumns) {
    if (&column != kColumns) table += ',';
    // The titles are the tool's and the report's own: no formula guard.
    AppendCsvCell(table, TitleOf(column), false);
  }
  table += "\r\n";
  const auto add = [&](const TableRow& row) {
    AppendRow(table, row);
    if (table.size() < kPieceBytes) return true;
    const bool written = out(table);
    table.clear();
    return written;
  };
  for (int limit = 0; limit < 2; ++limit) {
    for (const Standing& standing : rankings.reports[limit]) {
      if (!add(TableRow(*standing.entry, limit, standing.rank))) return false;
    }
  }
  for (const Standing& standing : rankings.unmeasured) {
    if (!add(TableRow(*standing.entry, kNoLimit, 0))) return false;
  }
  return out(table);
}
