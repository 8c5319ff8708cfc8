#include "results/site/processor_pages.h"

#include <cinttypes>
#include <cstdio>
#include <unordered_set>

#include "report/report_fields.h"
#include "results/site/html_page.h"

namespace {

constexpr std::string_view kProcessorsStem = "processors";
constexpr std::string_view kCpuStem = "cpu-";
constexpr std::size_t kIdDigits = 16;
const std::string kCpuLabel = kReportFields[kCpu].label;

// FNV-1a, 64 bits: the same key gives the same name on every machine.
std::uint64_t HashOf(std::string_view key) {
  std::uint64_t hash = 14695981039346656037u;
  for (char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211u;
  }
  return hash;
}

std::string HexOf(std::uint64_t value) {
  char text[kIdDigits + 1];
  std::snprintf(text, sizeof text, "%016" PRIx64, value);
  return text;
}

bool IsLowerHex(std::string_view text) {
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// Thousandths as the report writes seconds ("0.987"); "-" for none.
std::string SecondsText(std::uint64_t thousandths) {
  if (thousandths == 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%" PRIu64 ".%03" PRIu64, thousandths / 1000,
                thousandths % 1000);
  return text;
}

std::string BestText(const Processor& processor, int limit) {
  const std::vector<Standing>& ranked = processor.ranked[limit];
  return ranked.empty() ? "-" : SecondsText(ranked[0].entry->figures[limit].thousandths);
}

std::string ProcessorsPageName(std::size_t number) {
  return number == 1 ? std::string(kProcessorsPage) : PageName(kProcessorsStem, number);
}

std::string LimitText(int limit) {
  return std::string("上限値 ") + kLimits[limit].shown;
}

// A processor's figures at a limit, as a sentence.
std::string FiguresText(const Processor& processor, int limit) {
  const std::size_t machines = processor.ranked[limit].size();
  if (machines == 0) return LimitText(limit) + ": 報告なし。";
  return LimitText(limit) + ": 最速 " + BestText(processor, limit) + " 秒、中央値 " +
         SecondsText(processor.median[limit]) + " 秒（" + CountText(machines) + " 台）。";
}

void AppendTableStart(std::string& out) {
  ::AppendTableStart(out, {"順位", kCpuLabel, "マシン数", "10,000 の最速", "10,000 の中央値",
                           "100,000 の最速", "100,000 の中央値"});
}

// The tables of processors.html: by the median at 100,000 first.
constexpr int kTableLimits[2] = {1, 0};

}  // namespace

ProcessorPages::ProcessorPages(const Rankings& rankings) : rankings_(rankings) {
  // In the order of the keys, so that two keys of the same hash always get the
  // same names.
  std::unordered_set<std::uint64_t> used;
  for (const Processor& processor : rankings.processors) {
    std::uint64_t id = HashOf(processor.key);
    while (!used.insert(id).second) ++id;
    ids_.push_back(HexOf(id));
  }
}

std::string ProcessorPages::StemOf(std::size_t processor, int limit) const {
  return std::string(kCpuStem) + ids_[processor] + "-" + kLimits[limit].digits;
}

std::string ProcessorPages::LinkOf(std::size_t processor, int limit) const {
  const bool here = !rankings_.processors[processor].ranked[limit].empty();
  return PageName(StemOf(processor, here ? limit : 1 - limit), 1);
}

void ProcessorPages::AppendTableRows(std::string& out, int limit, std::size_t first,
                                     std::size_t count, std::size_t bytes,
                                     std::size_t& next) const {
  const std::vector<std::size_t>& order = rankings_.processorsByMedian[limit];
  // The rank of the first row counts the rows before it.
  std::size_t rank = 0;
  for (std::size_t i = 0; i <= first && i < order.size(); ++i) {
    const Processor& processor = rankings_.processors[order[i]];
    if (i == 0 || processor.median[limit] != rankings_.processors[order[i - 1]].median[limit]) {
      rank = i + 1;
    }
  }
  const std::size_t start = out.size();
  std::string row;
  for (next = first; next < order.size() && next - first < count; ++next) {
    const Processor& processor = rankings_.processors[order[next]];
    if (next > first &&
        processor.median[limit] != rankings_.processors[order[next - 1]].median[limit]) {
      rank = next + 1;
    }
    row = "<tr>";
    AppendCell(row, processor.ranked[limit].empty() ? "-" : std::to_string(rank), true);
    std::string name;
    AppendEscapedHtml(name, processor.shown);
    row += "<td>";
    AppendLink(row, LinkOf(order[next], limit), name, true);
    row += "</td>";
    AppendCell(row, CountText(processor.machines), true);
    for (int other = 0; other < 2; ++other) {
      AppendCell(row, BestText(processor, other), true);
      AppendCell(row, SecondsText(processor.median[other]), true);
    }
    row += "</tr>\n";
    if (next > first && out.size() - start + row.size() > bytes) break;
    out += row;
  }
}

bool ProcessorPages::Write(const PageOut& out) const {
  const std::vector<Processor>& processors = rankings_.processors;
  for (std::size_t i = 0; i < processors.size(); ++i) {
    const Processor& processor = processors[i];
    for (int limit = 0; limit < 2; ++limit) {
      if (processor.ranked[limit].empty()) continue;
      std::string links = "<a href=\"processors.html\">" + kCpuLabel + " 別の結果</a> | ";
      if (!processor.ranked[1 - limit].empty()) {
        links += "<a href=\"" + PageName(StemOf(i, 1 - limit), 1) + "\">" + LimitText(1 - limit) +
                 " の順位表</a> | ";
      }
      std::string note = "この" + kCpuLabel + "のマシン " + CountText(processor.machines) +
                         " 台。" + FiguresText(processor, 0) + FiguresText(processor, 1) +
                         "同じ人の同じマシンは最速の 1 件だけを載せています。";
      const PagedList list{
          StemOf(i, limit),
          kCpuLabel + "「" + std::string(processor.shown) + "」 " + LimitText(limit) + " の順位表",
          &processor.ranked[limit],
          limit,
          kRankingTable,
          note,
          links};
      std::size_t pages = 0;
      if (!WritePagedList(list, out, pages)) return false;
    }
  }

  const std::size_t bytes = (kMostPageBytes - 2 * kFrameBytes) / 2;
  std::size_t next[2] = {};
  std::string page;
  for (std::size_t number = 1;; ++number) {
    bool last = true;
    std::string tables;
    for (int limit : kTableLimits) {
      tables += "<h2>" + LimitText(limit) + " の中央値の速い順</h2>\n";
      const std::size_t first = next[limit];
      if (first == processors.size()) {
        tables +=
            "<p>" + CountText(processors.size()) + " 種すべてを前のページまでに載せました。</p>\n";
        continue;
      }
      AppendTableStart(tables);
      AppendTableRows(tables, limit, first, kRowsPerPage, bytes, next[limit]);
      AppendTableEnd(tables);
      tables += "<p>全 " + CountText(processors.size()) + " 種のうち " + CountText(first + 1) +
                "〜" + CountText(next[limit]) + " 種目。</p>\n";
      last = last && next[limit] == processors.size();
    }
    page.clear();
    AppendPageStart(page, kCpuLabel + " 別の結果 - Tarvolo 測定結果");
    page += "<h2>" + kCpuLabel + " 別の結果</h2>\n<p>";
    if (processors.empty()) {
      page += "報告はまだありません。";
    } else {
      page += "順位表に載ったマシンを " + kCpuLabel + " ごとにまとめました（" +
              CountText(processors.size()) +
              " 種）。全角と半角、大文字と小文字、(R) と (TM)、末尾の「CPU @ …GHz」と"
              "「Processor」、空白とハイフンの違いは問いません。中央値は各マシンの最速の時間の"
              "中央値です。" +
              kCpuLabel + " の名前から、そのマシンの順位表に進めます。";
    }
    page += "</p>\n";
    AppendPageLinks(page, ProcessorsPageName, "", number, last);
    if (!processors.empty()) page += tables;
    AppendPageLinks(page, ProcessorsPageName, "", number, last);
    AppendPageEnd(page);
    if (!out(ProcessorsPageName(number), page)) return false;
    if (last) return true;
  }
}

void ProcessorPages::AppendFastest(std::string& page) const {
  page += "<h2>" + kCpuLabel + " 別の速さ</h2>\n";
  const std::vector<std::size_t>& order = rankings_.processorsByMedian[1];
  std::size_t shown = 0;
  while (shown < kProcessorsOnIndex && shown < order.size() &&
         !rankings_.processors[order[shown]].ranked[1].empty()) {
    ++shown;
  }
  if (shown == 0) {
    page += "<p>上限値 100,000 の報告はまだありません。</p>\n";
  } else {
    page += "<p>上限値 100,000 の中央値（各マシンの最速の時間の中央値）の速い " + kCpuLabel + " " +
            std::to_string(shown) + " 種:</p>\n";
    std::size_t next = 0;
    AppendTableStart(page);
    AppendTableRows(page, 1, 0, shown, kMostPageBytes, next);
    AppendTableEnd(page);
  }
  page += "<p class=\"pages\">";
  AppendLink(page, kProcessorsPage,
             kCpuLabel + " 別の結果の全体（" + CountText(rankings_.processors.size()) + " 種）",
             true);
  page += "</p>\n";
}

bool ProcessorPages::IsPageName(std::string_view fileName) {
  if (fileName == kProcessorsPage || IsPageOf(fileName, kProcessorsStem)) return true;
  const std::size_t idEnd = kCpuStem.size() + kIdDigits;
  if (fileName.size() <= idEnd + 1 || fileName.substr(0, kCpuStem.size()) != kCpuStem ||
      !IsLowerHex(fileName.substr(kCpuStem.size(), kIdDigits)) || fileName[idEnd] != '-') {
    return false;
  }
  for (const Limit& limit : kLimits) {
    if (IsPageOf(fileName.substr(idEnd + 1), limit.digits)) return true;
  }
  return false;
}
