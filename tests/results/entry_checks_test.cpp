// The checks each entry gets, the same entry counted once, and the ranking.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "report_samples.h"
#include "results/entries/entry_checks.h"
#include "results/rank/ranking.h"
#include "results/rank/result_set.h"
#include "results/rank/text_folding.h"

namespace {

TEST(EntryChecks, FiguresReadOnlyAsTheReportWritesThem) {
  const struct {
    const char* text;
    FigureState state;
    std::uint64_t thousandths;
  } cases[] = {
      {"0.987", FigureState::kMeasured, 987},
      {"80.123", FigureState::kMeasured, 80123},
      {"123456789012.345", FigureState::kMeasured, 123456789012345},
      {"0.000", FigureState::kNotMeasured, 0},
      {"", FigureState::kUnreadable, 0},
      {"12.3", FigureState::kUnreadable, 0},
      {"1.2345", FigureState::kUnreadable, 0},
      {".500", FigureState::kUnreadable, 0},
      {"1,500", FigureState::kUnreadable, 0},
      {"-1.000", FigureState::kUnreadable, 0},
      {"1.000 秒", FigureState::kUnreadable, 0},
      {"１.０００", FigureState::kUnreadable, 0},
      {"1234567890123.000", FigureState::kUnreadable, 0},  // longer than any run takes
  };
  for (const auto& c : cases) {
    const Figure figure = ReadFigure(c.text);
    EXPECT_EQ(figure.state, c.state) << '"' << c.text << '"';
    EXPECT_EQ(figure.thousandths, c.thousandths) << '"' << c.text << '"';
  }
}

CheckedEntry Checked(const char* time10000, const char* time100000) {
  EntryFields fields;
  fields.text[kTime10000] = time10000;
  fields.text[kTime100000] = time100000;
  return CheckEntry(fields);
}

TEST(EntryChecks, StatusShowsWhatIsWrongWithAnEntry) {
  const struct {
    const char* time10000;
    const char* time100000;
    unsigned flags;
    const char* status;
  } cases[] = {
      {"1.000", "20.000", 0, "OK"},
      {"1.000", "19.999", kImplausible, "不自然（100,000 が 10,000 の 20 倍未満）"},
      {"0.000", "19.999", 0, "10,000 は未測定"},
      {"0.000", "0.000", 0, "10,000 は未測定、100,000 は未測定"},
      {"1.0", "80.000", kFigureUnreadable, "10,000 の数値が読めない"},
      {"1.000", "", kFigureUnreadable, "100,000 の数値が読めない"},
  };
  for (const auto& c : cases) {
    const CheckedEntry entry = Checked(c.time10000, c.time100000);
    EXPECT_EQ(entry.flags, c.flags) << c.time10000 << " " << c.time100000;
    EXPECT_EQ(entry.status, c.status) << c.time10000 << " " << c.time100000;
  }
  EXPECT_EQ(
      CheckEntry(EntryFields{}, kInvalidBytes).status,
      "10,000 の数値が読めない、100,000 の数値が読めない、読めないバイト列あり（\xEF\xBF\xBD）");
}

TEST(ResultSet, SameEntryCountsOnceAMachineRanksOnceAndTheOrderDoesNotDependOnReadingOrder) {
  const Answers a = NameOnly("a"), b = NameOnly("b"), c = NameOnly("c");
  const std::vector<std::string> reports = {
      FilledReport(2.0f, 0.0f, b),  FilledReport(1.0f, 90.0f, c), FilledReport(2.0f, 0.0f, a),
      FilledReport(2.0f, 0.0f, a),  FilledReport(3.0f, 80.0f, a), FilledReport(0.0f, 0.0f, c),
      FilledReport(2.0f, 80.0f, b),
  };
  std::vector<std::size_t> order(reports.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::mt19937 generator(1);
  std::vector<std::string> seen;
  for (int round = 0; round < 6; ++round) {
    ResultSet results;
    for (std::size_t i : order) AddReports(reports[i], results);
    EXPECT_EQ(results.read, 7u);
    EXPECT_EQ(results.merged, 1u);  // a at 2.000 and 0.000, twice
    const Rankings rankings = RankEntries(results);
    std::string ranking;
    for (int limit = 0; limit < 2; ++limit) {
      for (const Standing& row : rankings.reports[limit]) {
        ranking += (row.rank > 0 ? std::to_string(row.rank) : "-") + row.entry->fields.text[kName] +
                   row.entry->fields.text[limit == 0 ? kTime10000 : kTime100000] + " ";
      }
      ranking += "| ";
    }
    for (const Standing& row : rankings.unmeasured) ranking += row.entry->fields.text[kName];
    seen.push_back(ranking);
    std::shuffle(order.begin(), order.end(), generator);
  }
  // Equal times share a rank; the next rank counts the ranked rows before it.
  // A person's machine ranks once, at its best; its other reports stay listed.
  EXPECT_EQ(seen[0], "1c1.000 2a2.000 2b2.000 -b2.000 -a3.000 | 1a80.000 1b80.000 3c90.000 | c");
  for (const std::string& ranking : seen) EXPECT_EQ(ranking, seen[0]);
}

// Spellings of one processor, name or machine fold to one text; the groups stay
// apart from each other.
TEST(Folding, SpellingsOfOneThingAreOneAndDifferentThingsStayApart) {
  const std::vector<std::vector<std::string>> groups = {
      {"Pentium II", "Ｐｅｎｔｉｕｍ　ＩＩ", "pentium  ii", "PENTIUM Ⅱ", "Pentium(R) II Processor",
       "ｐｅｎｔｉｕｍ（ｒ）　ｉｉ　ＣＰＵ", " Pentium II\t"},
      {"Intel(R) Core(TM) i7-4790 CPU @ 3.60GHz", "Intel® Core™ i7‐4790 CPU @ 3.60 GHz",
       "ＩＮＴＥＬ（Ｒ）　ＣＯＲＥ（ＴＭ）　Ｉ７－４７９０　ＣＰＵ　＠　３．６０ＧＨｚ",
       "intel core i7 4790", "Intel Core i7 - 4790 @800MHz"},
      {"AMD Athlon(tm) Processor", "AMD Athlon", "ＡＭＤ　Ａｔｈｌｏｎ（ｔｍ）"},
      {"K6-2", "K6 - 2", "Ｋ６－２", "K6—2", "k6‐2", "K6 2"},
      {"Pentium II 300MHz"},  // a clock without "@" may be part of the name
      {"Core2Duo"},
      {"Core 2 Duo"},
      {"Pentium III"},
      {"Pentium"},
      {"山田　太郎", "山田 太郎", " 山田　 太郎"},
      {"山田太郎"},
      {"ﾔﾏﾀﾞ", "ヤマダ"},
      {"ラーメン"},  // the long vowel mark is no hyphen
      {"ラメン"},
      {"CPU"},
      {"", "  ", "(R)", "®™"},
  };
  std::vector<std::string> folded;
  for (const auto& group : groups) {
    folded.push_back(FoldForComparison(group[0]));
    for (const std::string& spelling : group) {
      EXPECT_EQ(FoldForComparison(spelling), folded.back()) << spelling << " / " << group[0];
    }
  }
  for (std::size_t i = 0; i < folded.size(); ++i) {
    for (std::size_t j = i + 1; j < folded.size(); ++j) {
      EXPECT_NE(folded[i], folded[j]) << groups[i][0] << " / " << groups[j][0];
    }
  }
  EXPECT_EQ(folded.back(), "") << "nothing is no processor";
}

}  // namespace
