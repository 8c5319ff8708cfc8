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

// One line of the table: a cell per column of results.csv, by cell(column).
template <typename AppendCell>
void AppendLine(std::string& table, const AppendCell& cell) {
  bool first = true;
  for (const Column& column : kColumns) {
    if ((column.tables & kCsvTable) == 0) continue;
    if (!first) table += ',';
    first = false;
    cell(column);
  }
  table += "\r\n";
}

}  // namespace

bool WriteCsvTable(const Rankings& rankings, const TableOut& out) {
  std::string table = "\xEF\xBB\xBF";
  table.reserve(2 * kPieceBytes);
  // The titles are the tool's and the report's own: no formula guard.
  AppendLine(table,
             [&table](const Column& column) { AppendCsvCell(table, TitleOf(column), false); });
  const auto add = [&](const TableRow& row) {
    AppendLine(table, [&](const Column& column) {
      AppendCsvCell(table, CellOf(column, row), IsUsersText(column));
    });
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
  // The entries to check at each limit, with their figures as written.
  for (int limit = 0; limit < 2; ++limit) {
    for (const Standing& standing : rankings.toCheck) {
      if (!add(TableRow(*standing.entry, limit, 0))) return false;
    }
  }
  return out(table);
}
