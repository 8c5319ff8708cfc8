// The pages and results.csv: entry text is only ever text, the rankings are
// paged in order with each person's machine once however it was typed, times
// that fail their checks are shown apart and never ranked, the processors are
// compared, and the same entries give the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "page_parts.h"
#include "report_samples.h"
#include "results/rank/result_set.h"
#include "results/site/site_pages.h"

namespace {

const char kScript[] = "<script>alert(1)</script>";
const char kImage[] = "<img src=x onerror=alert(2)>";

// Every field of the report carries markup, quotes and a formula.
std::string HostileReport() {
  const std::string markup = std::string(kScript) + kImage + "\"'&amp;";
  const Answers answers = {
      markup,        "=1+2" + markup, "@SUM(A1)" + markup,
      "-3" + markup, "+4" + markup,   markup + "\r\n</td></tr></table><h1>x</h1>"};
  return FilledReport(0.5f, 40.0f, answers);
}

ResultSet ResultsOf(const std::vector<std::string>& reports) {
  ResultSet results;
  for (const std::string& report : reports) {
    results.files++;
    AddReports(report, results);
  }
  return results;
}

TEST(ResultsPage, EveryFieldShowsAsTextAndThePagesUseOnlyTheirOwnElements) {
  const auto files = SiteFiles(ResultsOf({HostileReport()}));
  for (const auto& [name, page] : files) {
    if (name == "results.csv") continue;
    for (const std::string& element : ElementsIn(page)) {
      EXPECT_EQ(OwnElements().count(element), 1u) << name << ": " << element;
    }
    EXPECT_EQ(page.find("<script"), std::string::npos) << name;
    EXPECT_EQ(page.find("<img"), std::string::npos) << name;
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;&lt;img src=x onerror=alert(2)&gt;"
                        "&quot;&#39;&amp;amp;"),
              std::string::npos)
        << name;
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos) << name;
  }
  const std::string& index = files.at("index.html");
  EXPECT_NE(index.find("報告 1 件を 1 個のファイルから読みました。掲載 1 件（うち要確認 0 件）、"
                       "重複としてまとめた報告 0 件。"),
            std::string::npos);
  EXPECT_NE(index.find("<svg"), std::string::npos);
}

TEST(ResultsTable, Utf8WithBomAndCrLfQuotedCellsNoFormulas) {
  const std::string table = SiteFiles(ResultsOf({HostileReport()})).at("results.csv");
  ASSERT_EQ(table.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(table.substr(3, table.find("\r\n") - 3),
            "\"上限値\",\"順位\",\"秒\",\"名前\",\"マシン名\",\"ＣＰＵ\",\"クロック\",\"ＯＳ\","
            "\"状態\",\"順位表\",\"コメント\"");
  for (std::size_t at = table.find('\n'); at != std::string::npos; at = table.find('\n', at + 1)) {
    EXPECT_EQ(table[at - 1], '\r') << "a line feed without CR at byte " << at;
  }
  const std::string markup = "<script>alert(1)</script><img src=x onerror=alert(2)>\"\"'&amp;";
  EXPECT_NE(table.find("\"10000\",\"1\",\"0.500\",\"" + markup + "\",\"'=1+2" + markup +
                       "\",\"'@SUM(A1)" + markup + "\",\"'-3" + markup + "\",\"'+4" + markup +
                       "\",\"OK\",\"掲載\",\"" + markup + "\r\n</td></tr></table><h1>x</h1>\"\r\n"),
            std::string::npos)
      << table;
}

TEST(ResultsPage, SameEntriesGiveTheSameBytesInAnyOrder) {
  const std::string a = FilledReport(1.0f, 80.0f, NameOnly("a"));
  const std::string b = FilledReport(1.0f, 80.0f, NameOnly("b"));
  const std::string c = FilledReport(0.0f, 0.0f, NameOnly("c"));
  const std::string a2 = FilledReport(1.0f, 70.0f, NameOnly("a"));
  EXPECT_EQ(SiteFiles(ResultsOf({a, b, c, a, a2})), SiteFiles(ResultsOf({c, a2, a, b, b})));
}

double Seconds(const std::string& cell) {
  return std::stod(cell);
}

std::string Name(std::size_t i, const char* prefix) {
  const std::string number = std::to_string(i);
  return prefix + std::string(4 - number.size(), '0') + number;
}

// 2,500 reports: 2,299 people's one each, 101 from one person's machine typed
// in full-width and half-width letters and either case, one from that person's
// other CPU, 99 without a time.
std::vector<std::string> ManyReports() {
  std::vector<std::string> reports;
  for (std::size_t i = 0; i < 2299; ++i) {
    // Distinct times in an order other than the names'.
    const float small = static_cast<float>(200 + i * 7 % 2300) / 1000;
    const float large = static_cast<float>(50000 + i * 11 % 2300 * 10) / 1000;
    reports.push_back(FilledReport(small, large, {Name(i, "p"), "PC", "K6", "", "", ""}));
  }
  // The same person and machine however it was typed, its reports spread over
  // the rankings; the best at 10,000 and the best at 100,000 are different
  // reports.
  const char* const names[] = {"same", " ＳＡＭＥ", "Same　", "\tsame "};
  const char* const machines[] = {"自作機 ", "自作機", "自作機", "自作機"};
  const char* const cpus[] = {" K6-2", "Ｋ６－２", "k6 2", "K6‐2"};
  for (int k = 0; k < 100; ++k) {
    const float small = k == 37 ? 0.150f : static_cast<float>(201 + 23 * k) / 1000;
    const float large = static_cast<float>(50005 + 230 * (99 - k)) / 1000;
    reports.push_back(
        FilledReport(small, large, {names[k % 4], machines[k % 4], cpus[k % 4], "", "", ""}));
  }
  reports.push_back(FilledReport(0.150f, 150.0f, {"Same", "自作機", "K6-2", "", "", ""}));
  reports.push_back(FilledReport(0.150f, 150.0f, {"same", "自作機", "K6-III", "", "", ""}));
  for (std::size_t i = 0; i < 99; ++i) {
    reports.push_back(FilledReport(0.0f, 0.0f, NameOnly(Name(i, "n"))));
  }
  return reports;
}

TEST(ResultsPages, RankingsArePagedInOrderWithEachMachineOnceAtItsBest) {
  const auto files = SiteFiles(ResultsOf(ManyReports()));
  std::vector<std::string> names;
  std::size_t processorPages = 0;
  for (const auto& [name, bytes] : files) {
    if (name.rfind("cpu-", 0) == 0) {
      ++processorPages;
    } else {
      names.push_back(name);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"10000-1.html", "10000-2.html", "10000-3.html",
                                             "100000-1.html", "100000-2.html", "100000-3.html",
                                             "index.html", "processors.html", "results.csv",
                                             "unmeasured-1.html"}));
  // K6 on three pages at each limit, K6-2 and K6-III on one each.
  EXPECT_EQ(processorPages, 10u);
  const std::string& index = files.at("index.html");
  for (const char* link : {"10000-1.html", "100000-1.html", "unmeasured-1.html"}) {
    EXPECT_NE(index.find(std::string("<a href=\"") + link + "\">"), std::string::npos) << link;
  }
  EXPECT_NE(
      index.find(
          "10,000 は 2,301 件（報告 2,401 件から）、100,000 は 2,301 件（報告 2,401 件から）"),
      std::string::npos);

  for (int limit = 0; limit < 2; ++limit) {
    const std::string list = limit == 0 ? "10000" : "100000";
    // After the table of the fastest processors.
    const auto top = TableCells(index, 1 + limit);
    ASSERT_EQ(top.size(), kRowsOnIndex) << list;
    std::vector<std::vector<std::string>> rows;
    for (std::size_t number = 1; number <= 3; ++number) {
      const std::string& page = files.at(list + "-" + std::to_string(number) + ".html");
      const auto links = [&page, &list](std::size_t other) {
        return page.find("<a href=\"" + list + "-" + std::to_string(other) + ".html\">") !=
               std::string::npos;
      };
      EXPECT_NE(page.find("<a href=\"index.html\">"), std::string::npos) << list << number;
      EXPECT_EQ(links(1), number > 1) << list << " page " << number;
      EXPECT_EQ(links(number - 1), number > 1) << list << " page " << number;
      EXPECT_EQ(links(number + 1), number < 3) << list << " page " << number;
      const auto cells = TableCells(page, 0);
      EXPECT_EQ(cells.size(), number < 3 ? kRowsPerPage : 301u) << list << " page " << number;
      rows.insert(rows.end(), cells.begin(), cells.end());
    }
    EXPECT_TRUE(std::equal(top.begin(), top.end(), rows.begin())) << list;
    std::size_t same = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      // Rank, time, name, machine, CPU, clock, OS, status; equal times share a rank.
      ASSERT_EQ(rows[i].size(), 8u);
      if (i > 0) {
        ASSERT_LE(Seconds(rows[i - 1][1]), Seconds(rows[i][1])) << list << " row " << i;
        const bool tie = rows[i - 1][1] == rows[i][1];
        EXPECT_EQ(rows[i][0], tie ? rows[i - 1][0] : std::to_string(i + 1)) << list << " row " << i;
      }
      if (rows[i][4] != "K6-III" &&
          (rows[i][2] == "same" || rows[i][2] == "ＳＡＭＥ" || rows[i][2] == "Same")) {
        ++same;
        EXPECT_EQ(rows[i][1], limit == 0 ? "0.150" : "50.005") << list;
      }
    }
    EXPECT_EQ(same, 1u) << list;
    if (limit == 0) {
      // The same name on another CPU is another machine, tied first.
      EXPECT_EQ(rows[0][0] + rows[1][0] + " " + rows[2][0], "11 3");
      EXPECT_EQ(rows[0][2] + rows[0][4] + " " + rows[1][2] + rows[1][4], "SameK6-2 sameK6-III");
    }
  }
  EXPECT_EQ(TableCells(files.at("unmeasured-1.html"), 0).size(), 99u);

  // results.csv keeps every report and says which are ranked.
  const std::string& table = files.at("results.csv");
  const auto count = [&table](const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = table.find(text); at != std::string::npos;
         at = table.find(text, at + 1)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(count("\r\n\"10000\","), 2401u);
  EXPECT_EQ(count("\r\n\"100000\","), 2401u);
  EXPECT_EQ(count("\r\n\"\","), 99u);
  EXPECT_EQ(count(",\"掲載\","), 2 * 2301u);
  EXPECT_EQ(count(",\"同じマシンのより速い報告を掲載\","), 2 * 100u);
}

TEST(ResultsPages, LongRowsMakeShorterPagesAndEveryPageStaysUnderAMegabyte) {
  // Fields full of quotes, each escaped to six bytes: 1,000 such rows would
  // make a page of 12 MB.
  // Each report names a processor of its own: processors.html goes on.
  const std::string quotes(400, '"');
  std::vector<std::string> reports;
  for (std::size_t i = 0; i < 1000; ++i) {
    reports.push_back(
        FilledReport(static_cast<float>(1000 + i) / 1000, 80.0f,
                     {Name(i, "q") + quotes, quotes, Name(i, "c") + quotes, quotes, quotes, ""}));
  }
  const auto files = SiteFiles(ResultsOf(reports));
  std::size_t rows = 0, pages = 0, processors[2] = {}, processorPages = 0;
  for (const auto& [name, bytes] : files) {
    if (name == "results.csv") continue;
    EXPECT_LT(bytes.size(), kMostPageBytes) << name;
    if (name.rfind("processors", 0) == 0) {
      ++processorPages;
      for (std::size_t table = 0; table < 2; ++table) {
        processors[table] += TableCells(bytes, table).size();
      }
    }
    if (name.rfind("10000-", 0) != 0) continue;
    rows += TableCells(bytes, 0).size();
    ++pages;
  }
  EXPECT_EQ(rows, 1000u);
  EXPECT_GT(pages, 1u);
  EXPECT_EQ(processors[0], 1000u);
  EXPECT_EQ(processors[1], 1000u);
  EXPECT_GT(processorPages, 1u);
  EXPECT_EQ(files.count("processors-" + std::to_string(processorPages) + ".html"), 1u);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::vector<std::string> Column(const std::vector<std::vector<std::string>>& rows,
                                std::size_t column) {
  std::vector<std::string> cells;
  for (const auto& row : rows) cells.push_back(column < row.size() ? row[column] : "");
  return cells;
}

TEST(ResultsPages, TimesThatFailTheirChecksAreNeverRankedAndStandApartWithTheirReason) {
  const Answers a = {"a", "PC", "K6", "", "", ""}, b = {"b", "PC", "K6", "", "", ""},
                c = {"c", "PC", "K6", "", "", ""}, d = {"d", "PC", "K6", "", "", ""};
  const auto files = SiteFiles(ResultsOf({
      FilledReport(1.0f, 80.0f, a),
      FilledReport(0.03f, 0.5f, b),  // forged: the fastest at both limits
      FilledReport(2.0f, 90.0f, b),  // the same machine's honest report ranks
      Replaced(FilledReport(0.5f, 80.0f, c), "80.000", "80,000"),
      FilledReport(1.5f, 0.0f, d),  // a limit not measured ranks at the other
  }));
  const auto ranking = [&files](const char* page, std::size_t column) {
    return Column(TableCells(files.at(page), 0), column);
  };
  EXPECT_EQ(ranking("10000-1.html", 2), (std::vector<std::string>{"a", "d", "b"}));
  EXPECT_EQ(ranking("10000-1.html", 1), (std::vector<std::string>{"1.000", "1.500", "2.000"}));
  EXPECT_EQ(ranking("10000-1.html", 7).back(), "OK");
  EXPECT_EQ(ranking("10000-1.html", 7)[1], "100,000 は未測定");
  EXPECT_EQ(ranking("100000-1.html", 2), (std::vector<std::string>{"a", "b"}));

  // Both times as written and the reason, in the order of the names.
  EXPECT_EQ(
      TableCells(files.at("check-1.html"), 0),
      (std::vector<std::vector<std::string>>{
          {"0.030", "0.500", "b", "PC", "K6", "", "", "不自然（100,000 が 10,000 の 20 倍未満）"},
          {"0.500", "80,000", "c", "PC", "K6", "", "", "100,000 の数値が読めない"}}));
  const std::string& index = files.at("index.html");
  EXPECT_NE(index.find("掲載 5 件（うち要確認 2 件）"), std::string::npos);
  EXPECT_NE(index.find("<a href=\"check-1.html\">要確認の報告 2 件（1 ページ）</a>"),
            std::string::npos);
  const auto processors = TableCells(files.at("processors.html"), 0);
  ASSERT_EQ(processors.size(), 1u);
  EXPECT_EQ(processors[0][2] + " " + processors[0][3], "3 1.000") << "machines, best at 10,000";

  // results.csv has them too, at each limit, with the figure as written.
  const std::string& table = files.at("results.csv");
  EXPECT_NE(table.find("\"100000\",\"-\",\"80,000\",\"c\",\"PC\",\"K6\",\"\",\"\","
                       "\"100,000 の数値が読めない\",\"要確認（順位表に載せない）\""),
            std::string::npos)
      << table;
  EXPECT_NE(table.find("\"10000\",\"-\",\"0.030\",\"b\""), std::string::npos);
}

// A report's name, machine name and CPU, and its times.
struct Sent {
  Answers answers;
  float time10000, time100000;
};

TEST(ResultsPages, OneProcessorAndOneMachineHoweverTheyAreTypedAndTheProcessorsCompared) {
  const std::string pentium = "Ｐｅｎｔｉｕｍ　ＩＩ";
  const Sent sent[] = {
      {{"山田", "自作機", "Pentium II", "", "", ""}, 2.0f, 150.0f},
      {{"山田", "自作機", pentium, "", "", ""}, 1.9f, 160.0f},
      {{"Taro", "PC", "Pentium(R) II Processor", "", "", ""}, 1.8f, 140.0f},
      {{"ＴＡＲＯ", "ＰＣ", "PENTIUM II", "", "", ""}, 1.7f, 145.0f},
      {{"Ken", "FMV", pentium, "", "", ""}, 2.2f, 170.0f},
      {{"Ken", "FMV", "Intel(R) Core(TM) i7-4790 CPU @ 3.60GHz", "", "", ""}, 0.05f, 3.0f},
      {{"Mai", "X", "Intel® Core™ i7‑4790 CPU @ 3.60 GHz", "", "", ""}, 0.06f, 2.5f},
      {{"Zed", "Y", "K6-2", "", "", ""}, 1.2f, 400.0f},
      {{"Zed", "Y", "Ｋ６－２", "", "", ""}, 1.0f, 0.0f},
      {{"Ann", "Z", "Cyrix 6x86", "", "", ""}, 3.0f, 0.0f},
  };
  std::vector<std::string> reports;
  for (const Sent& report : sent) {
    reports.push_back(FilledReport(report.time10000, report.time100000, report.answers));
  }
  const auto files = SiteFiles(ResultsOf(reports));
  // Seven machines at 10,000: 山田, Taro and Ken on a Pentium II, Ken and Mai
  // on a Core i7, Zed on a K6-2, Ann on a Cyrix.
  EXPECT_EQ(Column(TableCells(files.at("10000-1.html"), 0), 2),
            (std::vector<std::string>{"Ken", "Mai", "Zed", "ＴＡＲＯ", "山田", "Ken", "Ann"}));

  // Rank, CPU (linked), machines, best and median at 10,000, at 100,000.
  const std::string& page = files.at("processors.html");
  const auto byLarge = TableCells(page, 0);
  const auto byReportsOrder = [](const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const auto& row : rows) {
      const std::size_t link = row[1].find("\">");
      text += row[0] + " " + row[1].substr(link + 2, row[1].size() - link - 6) + " " + row[2];
      for (std::size_t i = 3; i < row.size(); ++i) text += " " + row[i];
      text += "\n";
    }
    return text;
  };
  EXPECT_EQ(byReportsOrder(byLarge),
            "1 Intel(R) Core(TM) i7-4790 CPU @ 3.60GHz 2 0.050 0.055 2.500 2.750\n"
            "2 " +
                pentium +
                " 3 1.700 1.900 140.000 150.000\n"
                "3 K6-2 1 1.000 1.000 400.000 400.000\n"
                "- Cyrix 6x86 1 3.000 3.000 - -\n");
  EXPECT_EQ(Column(TableCells(page, 1), 2), (std::vector<std::string>{"2", "1", "3", "1"}))
      << "by the median at 10,000: Core i7, K6-2, Pentium II, Cyrix";
  EXPECT_EQ(Column(TableCells(page, 1), 0), (std::vector<std::string>{"1", "2", "3", "4"}));

  // The Pentium II's own page at 100,000: its machines ranked, each as typed.
  const std::size_t from = byLarge[1][1].find("href=\"") + 6;
  const std::string name = byLarge[1][1].substr(from, byLarge[1][1].find('"', from) - from);
  ASSERT_EQ(files.count(name), 1u) << name;
  const auto machines = TableCells(files.at(name), 0);
  EXPECT_EQ(Column(machines, 0), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(machines, 2), (std::vector<std::string>{"Taro", "山田", "Ken"}));
  EXPECT_EQ(Column(machines, 4),
            (std::vector<std::string>{"Pentium(R) II Processor", "Pentium II", pentium}));

  // The index shows the fastest of those measured at 100,000.
  EXPECT_EQ(Column(TableCells(files.at("index.html"), 0), 2),
            (std::vector<std::string>{"2", "3", "1"}));
  EXPECT_NE(files.at("index.html").find("<a href=\"processors.html\">"), std::string::npos);
}

}  // namespace
