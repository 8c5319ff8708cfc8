#include "results/site/site_pages.h"

#include <cstdint>
#include <vector>

#include "results/entries/entry.h"
#include "results/site/html_page.h"
#include "results/site/table_rows.h"
#include "results/site/time_histogram.h"

namespace {

// The lists a page at a time: the rankings at each limit (a list is its limit's
// index), then the entries measured at neither.
constexpr int kLists = 3;
constexpr int kUnmeasuredList = 2;

// What a list's page names start with: "10000", "100000", "unmeasured".
std::string_view ListStem(int list) {
  return list < kUnmeasuredList ? kLimits[list].digits : "unmeasured";
}

std::string LimitTitle(int limit) {
  return std::string("上限値 ") + kLimits[limit].shown;
}

std::string ListTitle(int list) {
  return list < kUnmeasuredList ? LimitTitle(list) + " の順位表" : "測定値のない報告";
}

// A page's file name in the output folder; number from 1.
std::string ListPageName(int list, std::size_t number) {
  return std::string(ListStem(list)) + "-" + std::to_string(number) + ".html";
}

// Room for a page's head, headings and links around its table: they are a
// few kilobytes at the most.
constexpr std::size_t kFrameBytes = 16384;

// The rows a list shows, in order.
const std::vector<Standing>& RowsOf(const Rankings& rankings, int list) {
  return list < kUnmeasuredList ? rankings.ranked[list] : rankings.unmeasured;
}

// Appends rows from first on, at most count of them and while the table stays
// within bytes (one row at least); returns the index after the last appended.
std::size_t AppendRows(std::string& out, const std::vector<Standing>& rows, int list,
                       std::size_t first, std::size_t count, std::size_t bytes) {
  const int limit = list < kUnmeasuredList ? list : kNoLimit;
  const std::size_t start = out.size();
  std::string row;
  std::size_t next = first;
  for (; next < rows.size() && next - first < count; ++next) {
    row.clear();
    AppendTableRow(row, TableRow(*rows[next].entry, limit, rows[next].rank));
    if (next > first && out.size() - start + row.size() > bytes) break;
    out += row;
  }
  return next;
}

void AppendLink(std::string& out, const std::string& target, std::string_view text, bool linked) {
  if (!linked) {
    out += text;
    return;
  }
  out += "<a href=\"" + target + "\">";
  out += text;
  out += "</a>";
}

void AppendPageLinks(std::string& out, int list, std::size_t number, bool last) {
  out += "<p class=\"pages\">";
  AppendLink(out, "index.html", "トップページ", true);
  out += " | ";
  AppendLink(out, ListPageName(list, 1), "最初のページ", number > 1);
  out += " | ";
  AppendLink(out, ListPageName(list, number - 1), "前のページ", number > 1);
  out += " | ";
  AppendLink(out, ListPageName(list, number + 1), "次のページ", !last);
  out += "</p>\n";
}

// Writes the list's pages; pages is set to how many.
bool WriteListPages(const Rankings& rankings, int list, const PageOut& out, std::size_t& pages) {
  const std::vector<Standing>& rows = RowsOf(rankings, list);
  pages = 0;
  std::string table, page;
  for (std::size_t first = 0; first < rows.size();) {
    table.clear();
    AppendTableStart(table);
    const std::size_t end =
        AppendRows(table, rows, list, first, kRowsPerPage, kMostPageBytes - kFrameBytes);
    AppendTableEnd(table);
    const std::size_t number = ++pages;
    const bool last = end == rows.size();

    page.clear();
    AppendPageStart(
        page, ListTitle(list) + " " + std::to_string(number) + " ページ目 - Tarvolo 測定結果");
    page += "<h2>";
    page += ListTitle(list);
    page += "</h2>\n<p>" + CountText(number) + " ページ目: 全 " + CountText(rows.size()) +
            " 件のうち " + CountText(first + 1) + "〜" + CountText(end) + " 件目。";
    if (list < kUnmeasuredList) page += "同じ人の同じマシンは最速の 1 件だけを載せています。";
    page += "</p>\n";
    AppendPageLinks(page, list, number, last);
    page += table;
    AppendPageLinks(page, list, number, last);
    AppendPageEnd(page);
    if (!out(ListPageName(list, number), page)) return false;
    first = end;
  }
  return true;
}

void AppendLimitSection(std::string& page, const Rankings& rankings, int limit, std::size_t pages) {
  page += "<h2>";
  page += LimitTitle(limit);
  page += "</h2>\n";
  const std::vector<Standing>& ranked = rankings.ranked[limit];
  if (ranked.empty()) {
    page += "<p>報告はまだありません。</p>\n";
    return;
  }
  page += "<p>順位表の " + CountText(ranked.size()) + " 件の時間の分布:</p>\n";
  std::vector<std::uint64_t> times;
  times.reserve(ranked.size());
  for (const Standing& standing : ranked) {
    times.push_back(standing.entry->figures[limit].thousandths);
  }
  AppendTimeHistogram(page, times);

  std::string table;
  AppendTableStart(table);
  // Both limits' tables together stay well within the page's megabyte.
  const std::size_t shown =
      AppendRows(table, ranked, limit, 0, kRowsOnIndex, (kMostPageBytes - 4 * kFrameBytes) / 2);
  AppendTableEnd(table);
  page += "<p>速い順に " + std::to_string(shown) + " 件:</p>\n";
  page += table;
  page += "<p class=\"pages\">";
  AppendLink(page, ListPageName(limit, 1),
             "順位表の全体（" + CountText(ranked.size()) + " 件、" + CountText(pages) + " ページ）",
             true);
  page += "</p>\n";
}

}  // namespace

bool IsPageName(std::string_view fileName) {
  if (fileName == "index.html") return true;
  constexpr std::string_view kSuffix = ".html";
  for (int index = 0; index < kLists; ++index) {
    const std::string_view list = ListStem(index);
    if (fileName.size() <= list.size() + 1 + kSuffix.size() ||
        fileName.substr(0, list.size()) != list || fileName[list.size()] != '-' ||
        fileName.substr(fileName.size() - kSuffix.size()) != kSuffix) {
      continue;
    }
    const std::string_view number =
        fileName.substr(list.size() + 1, fileName.size() - list.size() - 1 - kSuffix.size());
    // As ListPageName writes it: digits, no leading zero.
    bool digits = number[0] != '0';
    for (char c : number) digits = digits && c >= '0' && c <= '9';
    if (digits) return true;
  }
  return false;
}

bool WriteSitePages(const ResultSet& results, const Rankings& rankings, const PageOut& out) {
  std::size_t pages[kLists] = {};
  for (int list = 0; list < kLists; ++list) {
    if (!WriteListPages(rankings, list, out, pages[list])) return false;
  }
  std::string page;
  AppendPageStart(page, "Tarvolo 測定結果");
  page += "<p>";
  AppendEscapedHtml(page, CountsLine(results, rankings));
  page += "</p>\n";
  for (int limit = 0; limit < 2; ++limit) {
    AppendLimitSection(page, rankings, limit, pages[limit]);
  }
  if (!rankings.unmeasured.empty()) {
    page += "<h2>測定値のない報告</h2>\n<p class=\"pages\">";
    AppendLink(page, ListPageName(kUnmeasuredList, 1),
               "測定値のない報告 " + CountText(rankings.unmeasured.size()) + " 件（" +
                   CountText(pages[kUnmeasuredList]) + " ページ）",
               true);
    page += "</p>\n";
  }
  AppendPageEnd(page);
  return out("index.html", page);
}
