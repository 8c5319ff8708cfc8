// The pages and results.csv: entry text is only ever text, the rankings are
// paged in order with each person's machine once, and the same entries give
// the same bytes.
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
  for (const char* name : {"index.html", "10000-1.html", "100000-1.html"}) {
    ASSERT_EQ(files.count(name), 1u) << name;
    const std::string& page = files.at(name);
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

// 2,500 reports: 2,299 people's one each, 100 from one person's machine, one
// from a name that differs from that person's in case only, one from that
// person's other CPU, 99 without a time.
std::vector<std::string> ManyReports() {
  std::vector<std::string> reports;
  for (std::size_t i = 0; i < 2299; ++i) {
    // Distinct times in an order other than the names'.
    const float small = static_cast<float>(200 + i * 7 % 2300) / 1000;
    const float large = static_cast<float>(40000 + i * 11 % 2300 * 10) / 1000;
    reports.push_back(FilledReport(small, large, {Name(i, "p"), "PC", "K6", "", "", ""}));
  }
  // The same person and machine however the blanks around them were typed,
  // its reports spread over the rankings; the best at 10,000 and the best at
  // 100,000 are different reports.
  const char* const spellings[] = {"same", " same", "same　", "\tsame "};
  for (int k = 0; k < 100; ++k) {
    const float small = k == 37 ? 0.150f : static_cast<float>(201 + 23 * k) / 1000;
    const float large = static_cast<float>(40005 + 230 * (99 - k)) / 1000;
    reports.push_back(
        FilledReport(small, large, {spellings[k % 4], "自作機 ", " K6-2", "", "", ""}));
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
  for (const auto& [name, bytes] : files) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"10000-1.html", "10000-2.html", "10000-3.html",
                                             "100000-1.html", "100000-2.html", "100000-3.html",
                                             "index.html", "results.csv", "unmeasured-1.html"}));
  const std::string& index = files.at("index.html");
  for (const char* link : {"10000-1.html", "100000-1.html", "unmeasured-1.html"}) {
    EXPECT_NE(index.find(std::string("<a href=\"") + link + "\">"), std::string::npos) << link;
  }
  EXPECT_NE(
      index.find(
          "10,000 は 2,302 件（報告 2,401 件から）、100,000 は 2,302 件（報告 2,401 件から）"),
      std::string::npos);

  for (int limit = 0; limit < 2; ++limit) {
    const std::string list = limit == 0 ? "10000" : "100000";
    const auto top = TableCells(index, limit);
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
      EXPECT_EQ(cells.size(), number < 3 ? kRowsPerPage : 302u) << list << " page " << number;
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
      if (rows[i][2] + rows[i][3] + rows[i][4] == "same自作機K6-2") {
        ++same;
        EXPECT_EQ(rows[i][1], limit == 0 ? "0.150" : "40.005") << list;
      }
    }
    EXPECT_EQ(same, 1u) << list;
    if (limit == 0) {
      // "Same", and the same name on another CPU, are other machines, tied first.
      EXPECT_EQ(rows[0][0] + rows[1][0] + rows[2][0] + " " + rows[3][0], "111 4");
      EXPECT_EQ(
          rows[0][2] + rows[0][4] + " " + rows[1][2] + rows[1][4] + " " + rows[2][2] + rows[2][4],
          "SameK6-2 sameK6-2 sameK6-III");
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
  EXPECT_EQ(count(",\"掲載\","), 2 * 2302u);
  EXPECT_EQ(count(",\"同じマシンのより速い報告を掲載\","), 2 * 99u);
}

TEST(ResultsPages, LongRowsMakeShorterPagesAndEveryPageStaysUnderAMegabyte) {
  // Fields full of quotes, each escaped to six bytes: 1,000 such rows would
  // make a page of 12 MB.
  const std::string quotes(400, '"');
  std::vector<std::string> reports;
  for (std::size_t i = 0; i < 1000; ++i) {
    reports.push_back(FilledReport(static_cast<float>(1000 + i) / 1000, 80.0f,
                                   {Name(i, "q") + quotes, quotes, quotes, quotes, quotes, ""}));
  }
  const auto files = SiteFiles(ResultsOf(reports));
  std::size_t rows = 0, pages = 0;
  for (const auto& [name, bytes] : files) {
    if (name == "results.csv") continue;
    EXPECT_LT(bytes.size(), kMostPageBytes) << name;
    if (name.rfind("10000-", 0) != 0) continue;
    rows += TableCells(bytes, 0).size();
    ++pages;
  }
  EXPECT_EQ(rows, 1000u);
  EXPECT_GT(pages, 1u);
}

}  // namespace
