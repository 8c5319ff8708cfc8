#include "results/html_page.h"

#include <vector>

#include "results/table_rows.h"

void AppendEscapedHtml(std::string& out, std::string_view text) {
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char* reference = nullptr;
    switch (text[i]) {
      case '&':
        reference = "&amp;";
        break;
      case '<':
        reference = "&lt;";
        break;
      case '>':
        reference = "&gt;";
        break;
      case '"':
        reference = "&quot;";
        break;
      case '\'':
        reference = "&#39;";
        break;
      default:
        continue;
    }
    out.append(text.data() + done, i - done);
    out += reference;
    done = i + 1;
  }
  out.append(text.data() + done, text.size() - done);
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
    "th,td{border:1px solid #bbb;padding:.2em .6em;text-align:left;white-space:nowrap}\n"
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
  for (std::string_view title : ColumnTitles(vocabulary)) {
    page += "<th>";
    AppendEscapedHtml(page, title);
    page += "</th>";
  }
  page += "</tr></thead>\n<tbody>\n";
  for (const TableRow& row : rows) {
    page += row.entry->flags != 0 ? "<tr class=\"flag\">" : "<tr>";
    const auto cells = CellsOf(row);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      page += i < 2 ? "<td class=\"n\">" : "<td>";
      AppendEscapedHtml(page, cells[i]);
      page += "</td>";
    }
    page += "</tr>\n";
  }
  page += "</tbody>\n</table>\n";
}

}  // namespace

std::string HtmlPage(const ResultSet& results, const ReportVocabulary& vocabulary) {
  std::string page = kHead;
  page.reserve(results.kept.size() * 2 * 400);  // a row is about 300 bytes
  page += "<p>";
  AppendEscapedHtml(page, CountsLine(results));
  page += "</p>\n";
  AddTable(page, "上限値 10,000", RankedRows(results, 0), vocabulary);
  AddTable(page, "上限値 100,000", RankedRows(results, 1), vocabulary);
  const std::vector<TableRow> unranked = UnrankedRows(results);
  if (!unranked.empty()) AddTable(page, "測定値のない報告", unranked, vocabulary);
  page += "</body>\n</html>\n";
  return page;
}
