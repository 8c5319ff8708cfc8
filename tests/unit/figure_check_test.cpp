#include "report/figure_check.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "report/report_text.h"

namespace {

std::string Composed(float fTime10000, float fTime100000) {
  char szReport[kReportBytes];
  ComposeReport(fTime10000, fTime100000, szReport);
  return szReport;
}

// The report with the first occurrence of `from` replaced by `to`.
std::string Edited(std::string report, const std::string& from, const std::string& to) {
  const std::size_t at = report.find(from);
  if (at == std::string::npos) {
    ADD_FAILURE() << "no " << from << " in the report";
    return report;
  }
  return report.replace(at, from.size(), to);
}

TEST(FigureCheck, UntouchedReportPasses) {
  const struct {
    float fTime10000, fTime100000;
  } cases[] = {
      {0.0f, 0.0f}, {0.987f, 0.0f},   {0.0f, 12.345f},      {0.016f, 1.234f},
      {1.5f, 1.5f}, {FLT_MAX, -1.0f}, {2147483.75f, 1e-4f},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(
        FiguresPresent(Composed(c.fTime10000, c.fTime100000).c_str(), c.fTime10000, c.fTime100000))
        << c.fTime10000 << " / " << c.fTime100000;
  }
}

TEST(FigureCheck, Edits) {
  const std::string report = Composed(0.987f, 12.345f);
  const struct {
    const char* what;
    std::string text;
    bool passes;
  } cases[] = {
      {"blank fields filled in",
       Edited(Edited(report, "名前                 ：", "名前                 ：山田 太郎"),
              "コメント：\r\n", "コメント：\r\n速い。\r\n"),
       true},
      {"a digit of the first figure deleted", Edited(report, "0.987", "0.98"), false},
      {"a digit of the second figure deleted", Edited(report, "12.345", "2.345"), false},
      {"the first figure changed", Edited(report, "0.987", "0.887"), false},
      {"the second figure changed", Edited(report, "12.345", "12.346"), false},
      {"both figures' lines deleted", Edited(Edited(report, "0.987", ""), "12.345", ""), false},
      {"the first figure's line altered, the figure written anew in the comment",
       Edited(report, "0.987", "0.9") + "0.987 でした\r\n", true},
      {"the second figure's line altered, the figure written anew at the top",
       "12.345\r\n" + Edited(report, "12.345", "1"), true},
      {"the figures moved inside longer numbers", "10.9875 112.3456", true},
      {"the figures alone, no report", "0.987 12.345", true},
      {"the figures' digits without their points", "0987 12345", false},
      {"an empty text", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FiguresPresent(c.text.c_str(), 0.987f, 12.345f), c.passes) << c.what;
  }
}

TEST(FigureCheck, OneOccurrenceServesTwoEqualFigures) {
  const std::string report = Composed(1.234f, 1.234f);
  EXPECT_TRUE(FiguresPresent(Edited(report, "1.234", "").c_str(), 1.234f, 1.234f));
  EXPECT_FALSE(
      FiguresPresent(Edited(Edited(report, "1.234", ""), "1.234", "").c_str(), 1.234f, 1.234f));
}

TEST(FigureCheck, NoRecordIsZeroAnywhereInTheText) {
  EXPECT_TRUE(FiguresPresent("コメント：0.000", 0.0f, 0.0f));
  EXPECT_TRUE(FiguresPresent("10.0001", 0.0f, 0.0f));
  EXPECT_FALSE(FiguresPresent("0.00 0", 0.0f, 0.0f));
  EXPECT_FALSE(FiguresPresent("0.000", 0.0f, 0.001f)) << "only the record at 10000 is there";
}

// The report buffer holds kReportBytes - 1 bytes of text: a figure that ends on its
// last byte counts, one that the buffer cuts short does not.
TEST(FigureCheck, FigureAtTheVeryEndOfAFullBuffer) {
  const std::string figures = "0.987 12.345";
  std::string full(kReportBytes - 1 - figures.size(), ' ');
  full += figures;
  ASSERT_EQ(full.size(), static_cast<std::size_t>(kReportBytes - 1));
  EXPECT_TRUE(FiguresPresent(full.c_str(), 0.987f, 12.345f));

  const std::string cut = full.substr(0, full.size() - 1);
  EXPECT_FALSE(FiguresPresent(cut.c_str(), 0.987f, 12.345f));
}

}  // namespace
