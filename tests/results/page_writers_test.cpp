// index.html and results.csv: entry text is only ever text, and the same
// entries give the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_samples.h"
#include "results/csv_table.h"
#include "results/html_page.h"
#include "results/report_reader.h"

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
    AddReports(report, TheReportVocabulary(), results);
  }
  return results;
}

TEST(ResultsPage, EveryFieldShowsAsTextAndThePageUsesOnlyItsOwnElements) {
  const std::string page = HtmlPage(ResultsOf({HostileReport()}), TheReportVocabulary());
  for (const std::string& name : ElementsIn(page)) EXPECT_EQ(OwnElements().count(name), 1u) << name;
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("<img"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;&lt;img src=x onerror=alert(2)&gt;"
                      "&quot;&#39;&amp;amp;"),
            std::string::npos);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("報告 1 件を 1 個のファイルから読みました。掲載 1 件（うち要確認 0 件）、"
                      "重複としてまとめた報告 0 件。"),
            std::string::npos);
}

TEST(ResultsTable, Utf8WithBomAndCrLfQuotedCellsNoFormulas) {
  const std::string table = CsvTable(ResultsOf({HostileReport()}), TheReportVocabulary());
  ASSERT_EQ(table.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(table.substr(3, table.find("\r\n") - 3),
            "\"上限値\",\"順位\",\"秒\",\"名前\",\"マシン名\",\"ＣＰＵ\",\"クロック\",\"ＯＳ\","
            "\"状態\",\"コメント\"");
  for (std::size_t at = table.find('\n'); at != std::string::npos; at = table.find('\n', at + 1)) {
    EXPECT_EQ(table[at - 1], '\r') << "a line feed without CR at byte " << at;
  }
  const std::string markup = "<script>alert(1)</script><img src=x onerror=alert(2)>\"\"'&amp;";
  EXPECT_NE(table.find("\"10000\",\"1\",\"0.500\",\"" + markup + "\",\"'=1+2" + markup +
                       "\",\"'@SUM(A1)" + markup + "\",\"'-3" + markup + "\",\"'+4" + markup +
                       "\",\"OK\",\"" + markup + "\r\n</td></tr></table><h1>x</h1>\"\r\n"),
            std::string::npos)
      << table;
}

TEST(ResultsPage, SameEntriesGiveTheSameBytesInAnyOrder) {
  const std::string a = FilledReport(1.0f, 80.0f, NameOnly("a"));
  const std::string b = FilledReport(1.0f, 80.0f, NameOnly("b"));
  const std::string c = FilledReport(0.0f, 0.0f, NameOnly("c"));
  const ResultSet one = ResultsOf({a, b, c, a});
  const ResultSet other = ResultsOf({c, a, b, b});
  EXPECT_EQ(HtmlPage(one, TheReportVocabulary()), HtmlPage(other, TheReportVocabulary()));
  EXPECT_EQ(CsvTable(one, TheReportVocabulary()), CsvTable(other, TheReportVocabulary()));
}

}  // namespace
