#include "results/html_page.h"

#include <vector>

#include "results/table_rows.h"

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

namespace {

// The page allows no script and nothing from elsewhere, should a field ever
// get through unescaped.
const char kHead[] =
    "<!DOCTYPE html>\n"
    "<html lang=\"ja\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
    "style-src 'unsafe-inline'\">\n"
    "<title>Tarvolo 測定結果</title>\n"
    "<style>\n"
    "body{font-family:sans-serif;margin:1.5em;color:#222}\n"
    "table{border-collapse:collapse;margin-bottom:1.5em}\n"
    "th,td{border:1px solid #bbb;padding:.2em .6em;text-align:left}\n"
    "th{background:#eee}\n"
    "td.n{text-align:right;font-variant-numeric:tabular-nums}\n"
    "tr.flag td{background:#fff3cd}\n"
    "</style>\n"
    "</head>\n"
    "<body>\n"
    "<h1>Tarvolo 測定結果</h1>\n";

void AddTable(std::string& page, const char* heading, const std::vector<TableRow>& rows,
              const ReportVocabulary& vocabulary) {
  page += "<h2>";
  page += heading;
  page += "</h2>\n";
  if (rows.empty()) {
    page += "<p>報告はまだありません。</p>\n";
    return;
  }
  page += "<table>\n<thead><tr>";
  for (const std::string& title : ColumnTitles(vocabulary))
    page += "<th>" + EscapeHtml(title) + "</th>";
  page += "</tr></thead>\n<tbody>\n";
  for (const TableRow& row : rows) {
    page += row.flagged ? "<tr class=\"flag\">" : "<tr>";
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      page += i < 2 ? "<td class=\"n\">" : "<td>";
      page += EscapeHtml(row.cells[i]);
      page += "</td>";
    }
    page += "</tr>\n";
  }
  page += "</tbody>\n</table>\n";
}

}  // namespace

std::string HtmlPage(const ResultSet& results, const ReportVocabulary& vocabulary) {
  std::string page = kHead;
  page += "<p>" + EscapeHtml(CountsLine(results)) + "</p>\n";
  AddTable(page, "上限値 10,000", RankedRows(results, 0), vocabulary);
  AddTable(page, "上限値 100,000", RankedRows(results, 1), vocabulary);
  const std::vector<TableRow> unranked = UnrankedRows(results);
  if (!unranked.empty()) AddTable(page, "測定値のない報告", unranked, vocabulary);
  page += "</body>\n</html>\n";
  return page;
}
