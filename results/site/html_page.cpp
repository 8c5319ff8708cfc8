#include "results/site/html_page.h"

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
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<title>";

const char kStyle[] =
    "</title>\n"
    "<style>\n"
    "body{font-family:sans-serif;margin:1.5em;color:#222}\n"
    "table{border-collapse:collapse;margin-bottom:.5em}\n"
    "th,td{border:1px solid #bbb;padding:.2em .6em;text-align:left;white-space:nowrap}\n"
    "th{background:#eee}\n"
    "td.n{text-align:right;font-variant-numeric:tabular-nums}\n"
    "tr.flag td{background:#fff3cd}\n"
    "p.pages{margin:.8em 0}\n"
    "svg{display:block;max-width:100%;height:auto;margin:.5em 0}\n"
    "svg .bar{fill:#4a78b0}\n"
    "svg .edge{fill:#a8bfdc}\n"
    "svg .axis{stroke:#666;stroke-width:1}\n"
    "svg text{font-size:11px;fill:#444}\n"
    "</style>\n"
    "</head>\n"
    "<body>\n"
    "<h1>Tarvolo 測定結果</h1>\n";

void AppendTitle(std::string& out, std::string_view title) {
  out += "<th>";
  AppendEscapedHtml(out, title);
  out += "</th>";
}

const char kTableOpen[] = "<table>\n<thead><tr>";
const char kBodyOpen[] = "</tr></thead>\n<tbody>\n";

}  // namespace

void AppendPageStart(std::string& out, std::string_view title) {
  out += kHead;
  AppendEscapedHtml(out, title);
  out += kStyle;
}

void AppendPageEnd(std::string& out) {
  out += "</body>\n</html>\n";
}

void AppendTableStart(std::string& out, std::initializer_list<std::string_view> titles) {
  out += kTableOpen;
  for (std::string_view title : titles) AppendTitle(out, title);
  out += kBodyOpen;
}

void AppendTableStart(std::string& out, TableKind table) {
  out += kTableOpen;
  for (const Column& column : kColumns) {
    if ((column.tables & table) != 0) AppendTitle(out, TitleOf(column));
  }
  out += kBodyOpen;
}

void AppendTableRow(std::string& out, const TableRow& row, TableKind table) {
  out += row.entry.flags != 0 ? "<tr class=\"flag\">" : "<tr>";
  for (const Column& column : kColumns) {
    if ((column.tables & table) == 0) continue;
    AppendCell(out, CellOf(column, row), IsNumber(column));
  }
  out += "</tr>\n";
}

void AppendCell(std::string& out, std::string_view text, bool number) {
  out += number ? "<td class=\"n\">" : "<td>";
  AppendEscapedHtml(out, text);
  out += "</td>";
}

void AppendTableEnd(std::string& out) {
  out += "</tbody>\n</table>\n";
}
