#include "results/site/list_pages.h"

#include "results/site/html_page.h"

std::string PageName(std::string_view stem, std::size_t number) {
  std::string name(stem);
  name += "-" + std::to_string(number) + ".html";
  return name;
}

bool IsPageOf(std::string_view fileName, std::string_view stem) {
  constexpr std::string_view kSuffix = ".html";
  if (fileName.size() <= stem.size() + 1 + kSuffix.size() ||
      fileName.substr(0, stem.size()) != stem || fileName[stem.size()] != '-' ||
      fileName.substr(fileName.size() - kSuffix.size()) != kSuffix) {
    return false;
  }
  const std::string_view number =
      fileName.substr(stem.size() + 1, fileName.size() - stem.size() - 1 - kSuffix.size());
  // As PageName writes it: digits, no leading zero.
  bool digits = number[0] != '0';
  for (char c : number) digits = digits && c >= '0' && c <= '9';
  return digits;
}

std::size_t AppendRows(std::string& out, const std::vector<Standing>& rows, int limit,
                       TableKind table, std::size_t first, std::size_t count, std::size_t bytes) {
  const std::size_t start = out.size();
  std::string row;
  std::size_t next = first;
  for (; next < rows.size() && next - first < count; ++next) {
    row.clear();
    AppendTableRow(row, TableRow(*rows[next].entry, limit, rows[next].rank), table);
    if (next > first && out.size() - start + row.size() > bytes) break;
    out += row;
  }
  return next;
}

void AppendLink(std::string& out, std::string_view target, std::string_view text, bool linked) {
  if (!linked) {
    out += text;
    return;
  }
  out += "<a href=\"";
  out += target;
  out += "\">";
  out += text;
  out += "</a>";
}

void AppendPageLinks(std::string& out, const std::function<std::string(std::size_t)>& nameOf,
                     std::string_view links, std::size_t number, bool last) {
  out += "<p class=\"pages\">";
  AppendLink(out, "index.html", "トップページ", true);
  out += " | ";
  out += links;
  AppendLink(out, nameOf(1), "最初のページ", number > 1);
  out += " | ";
  AppendLink(out, nameOf(number - 1), "前のページ", number > 1);
  out += " | ";
  AppendLink(out, nameOf(number + 1), "次のページ", !last);
  out += "</p>\n";
}

bool WritePagedList(const PagedList& list, const PageOut& out, std::size_t& pages) {
  const std::vector<Standing>& rows = *list.rows;
  const auto nameOf = [&list](std::size_t number) { return PageName(list.stem, number); };
  pages = 0;
  std::string table, page;
  for (std::size_t first = 0; first < rows.size();) {
    table.clear();
    AppendTableStart(table, list.table);
    const std::size_t end = AppendRows(table, rows, list.limit, list.table, first, kRowsPerPage,
                                       kMostPageBytes - kFrameBytes);
    AppendTableEnd(table);
    const std::size_t number = ++pages;
    const bool last = end == rows.size();

    page.clear();
    AppendPageStart(page,
                    list.title + " " + std::to_string(number) + " ページ目 - Tarvolo 測定結果");
    page += "<h2>";
    AppendEscapedHtml(page, list.title);
    page += "</h2>\n<p>" + CountText(number) + " ページ目: 全 " + CountText(rows.size()) +
            " 件のうち " + CountText(first + 1) + "〜" + CountText(end) + " 件目。";
    page += list.note;
    page += "</p>\n";
    AppendPageLinks(page, nameOf, list.links, number, last);
    page += table;
    AppendPageLinks(page, nameOf, list.links, number, last);
    AppendPageEnd(page);
    if (!out(nameOf(number), page)) return false;
    first = end;
  }
  return true;
}
