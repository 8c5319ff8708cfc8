#include "results/site/site_pages.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "results/entries/entry.h"
#include "results/site/html_page.h"
#include "results/site/processor_pages.h"
#include "results/site/table_rows.h"
#include "results/site/time_histogram.h"

namespace {

// The lists a page at a time: the rankings at each limit (a list is its limit's
// index), the entries measured at neither, the entries to check.
constexpr int kLists = 4;
constexpr int kUnmeasuredList = 2;
constexpr int kToCheckList = 3;

std::string_view ListStem(int list) {
  if (list < kUnmeasuredList) return kLimits[list].digits;
  return list == kUnmeasuredList ? "unmeasured" : "check";
}

std::string LimitTitle(int limit) {
  return std::string("上限値 ") + kLimits[limit].shown;
}

const char kUnmeasuredTitle[] = "測定値のない報告";
const char kToCheckTitle[] = "要確認の報告";

PagedList ListOf(const Rankings& rankings, int list) {
  const std::string stem(ListStem(list));
  if (list < kUnmeasuredList) {
    return {stem,
            LimitTitle(list) + " の順位表",
            &rankings.ranked[list],
            list,
            kRankingTable,
            "同じ人の同じマシンは最速の 1 件だけを載せています。",
            ""};
  }
  if (list == kUnmeasuredList) {
    return {stem, kUnmeasuredTitle, &rankings.unmeasured, kNoLimit, kRankingTable, "", ""};
  }
  return {stem,
          kToCheckTitle,
          &rankings.toCheck,
          kNoLimit,
          kCheckTable,
          "時間の数値が読めないか、100,000 が 10,000 の 20 倍未満のため、順位表に入れていない"
          "報告です（名前の順）。",
          ""};
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
  AppendTableStart(table, kRankingTable);
  // Both limits' tables together stay well within the page's megabyte.
  const std::size_t shown = AppendRows(table, ranked, limit, kRankingTable, 0, kRowsOnIndex,
                                       (kMostPageBytes - 4 * kFrameBytes) / 2);
  AppendTableEnd(table);
  page += "<p>速い順に " + std::to_string(shown) + " 件:</p>\n";
  page += table;
  page += "<p class=\"pages\">";
  AppendLink(page, PageName(ListStem(limit), 1),
             "順位表の全体（" + CountText(ranked.size()) + " 件、" + CountText(pages) + " ページ）",
             true);
  page += "</p>\n";
}

// A link to a list's first page, with its count; nothing for an empty list.
void AppendListLink(std::string& page, const Rankings& rankings, int list, std::size_t pages) {
  const PagedList shown = ListOf(rankings, list);
  if (shown.rows->empty()) return;
  page += "<p class=\"pages\">";
  AppendLink(
      page, PageName(shown.stem, 1),
      shown.title + " " + CountText(shown.rows->size()) + " 件（" + CountText(pages) + " ページ）",
      true);
  page += "</p>\n";
}

}  // namespace

bool IsPageName(std::string_view fileName) {
  if (fileName == "index.html" || ProcessorPages::IsPageName(fileName)) return true;
  for (int list = 0; list < kLists; ++list) {
    if (IsPageOf(fileName, ListStem(list))) return true;
  }
  return false;
}

bool WriteSitePages(const ResultSet& results, const Rankings& rankings, const PageOut& out) {
  // The first limit's ranking on a thread of its own beside the other pages;
  // out is given one page at a time.
  std::mutex writing;
  const PageOut oneAtATime = [&](const std::string& name, const std::string& bytes) {
    const std::lock_guard<std::mutex> lock(writing);
    return out(name, bytes);
  };
  std::size_t pages[kLists] = {};
  bool firstWritten = false;
  std::thread first(
      [&] { firstWritten = WritePagedList(ListOf(rankings, 0), oneAtATime, pages[0]); });
  bool written = true;
  for (int list = 1; list < kLists && written; ++list) {
    written = WritePagedList(ListOf(rankings, list), oneAtATime, pages[list]);
  }
  const ProcessorPages processors(rankings);
  written = written && processors.Write(oneAtATime);
  first.join();
  if (!written || !firstWritten) return false;

  std::string page;
  AppendPageStart(page, "Tarvolo 測定結果");
  page += "<p>";
  AppendEscapedHtml(page, CountsLine(results, rankings));
  page += "</p>\n";
  AppendListLink(page, rankings, kToCheckList, pages[kToCheckList]);
  processors.AppendFastest(page);
  for (int limit = 0; limit < 2; ++limit) {
    AppendLimitSection(page, rankings, limit, pages[limit]);
  }
  if (!rankings.unmeasured.empty()) {
    page += "<h2>";
    page += kUnmeasuredTitle;
    page += "</h2>\n";
    AppendListLink(page, rankings, kUnmeasuredList, pages[kUnmeasuredList]);
  }
  AppendPageEnd(page);
  return out("index.html", page);
}
