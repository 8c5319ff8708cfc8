#include "report/report_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Compose(float fTime10000, float fTime100000) {
  char szReport[kReportBytes];
  std::memset(szReport, 'x', sizeof szReport);  // stale bytes must not show through
  ComposeReport(fTime10000, fTime100000, szReport);
  const void* end = std::memchr(szReport, '\0', sizeof szReport);
  if (end == nullptr) {
    ADD_FAILURE() << "report not terminated within its buffer";
    return std::string();
  }
  return std::string(static_cast<const char*>(szReport), static_cast<const char*>(end));
}

// The report split at CR LF; a line break of any other kind fails the test.
std::vector<std::string> Lines(const std::string& report) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < report.size()) {
    std::size_t crlf = report.find("\r\n", start);
    if (crlf == std::string::npos) {
      ADD_FAILURE() << "text after the last CR LF: " << report.substr(start);
      break;
    }
    std::string line = report.substr(start, crlf - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare CR or LF in " << line;
    lines.push_back(line);
    start = crlf + 2;
  }
  return lines;
}

// The expected report, written in this file's literals (Shift_JIS, as in the program).
std::string ExpectedReport(const char* figure10000, const char* figure100000) {
  return std::string(
             "To results@tarvolo.example\r\n"
             "\r\n"
             "名前                 ：\r\n"
             "[10,000]測定結果(秒) ：") +
         figure10000 +
         "\r\n"
         "[100,000]測定結果(秒)：" +
         figure100000 +
         "\r\n"
         "マシン名             ：\r\n"
         "ＣＰＵ               ：\r\n"
         "クロック             ：\r\n"
         "ＯＳ                 ：\r\n"
         "コメント：\r\n";
}

TEST(ReportText, ExactBytesForGivenTimes) {
  const struct {
    float fTime10000, fTime100000;
    const char* figure10000;
    const char* figure100000;
  } cases[] = {
      {0.0f, 0.0f, "0.000", "0.000"},    // no run yet: both read 0
      {0.987f, 0.0f, "0.987", "0.000"},  // a run at 10000 only
      {0.0f, 12.345f, "0.000", "12.345"},
      {0.016f, 1.234f, "0.016", "1.234"},
      {2147483.75f, 1000000.125f, "2147483.750", "1000000.125"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Compose(c.fTime10000, c.fTime100000), ExpectedReport(c.figure10000, c.figure100000))
        << c.figure10000 << " / " << c.figure100000;
  }
}

TEST(ReportText, JapanesePiecesAreShiftJisBytes) {
  const std::string report = Compose(0.5f, 7.25f);
  const char* pieces[] = {
      "\x96\xBC\x91\x4F"
      "                 \x81\x46\r\n",  // 名前 ：
      "[10,000]\x91\xAA\x92\xE8\x8C\x8B\x89\xCA(\x95\x62) \x81\x46"
      "0.500\r\n",  // 測定結果(秒)
      "[100,000]\x91\xAA\x92\xE8\x8C\x8B\x89\xCA(\x95\x62)\x81\x46"
      "7.250\r\n",
      "\x83\x7D\x83\x56\x83\x93\x96\xBC",              // マシン名
      "\x82\x62\x82\x6F\x82\x74",                      // ＣＰＵ
      "\x83\x4E\x83\x8D\x83\x62\x83\x4E",              // クロック
      "\x82\x6E\x82\x72",                              // ＯＳ
      "\x83\x52\x83\x81\x83\x93\x83\x67\x81\x46\r\n",  // コメント：
  };
  for (const char* piece : pieces) {
    EXPECT_NE(report.find(piece), std::string::npos) << "missing piece " << piece;
  }
}

TEST(ReportText, TenCrLfLinesWithColonsAtColumn21) {
  const std::vector<std::string> lines = Lines(Compose(123.456f, 0.0f));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], std::string("To ") + kMakerMail);
  EXPECT_EQ(lines[1], "");
  for (std::size_t i = 2; i <= 8; ++i) {
    SCOPED_TRACE("line " + std::to_string(i + 1));
    ASSERT_GE(lines[i].size(), 23u);
    EXPECT_EQ(lines[i].substr(21, 2), "\x81\x46");
    // Only the colon: the label's end is padded with ASCII spaces, no other colon.
    EXPECT_EQ(lines[i].find("\x81\x46"), 21u);
  }
  EXPECT_EQ(lines[3].substr(23), "123.456");
  EXPECT_EQ(lines[4].substr(23), "0.000");
  EXPECT_EQ(lines[9], "\x83\x52\x83\x81\x83\x93\x83\x67\x81\x46");
}

TEST(ReportText, LargestTimesStillFitTheBuffer) {
  // Each figure runs to some forty digits; the rest of the report must follow intact.
  char figure[2][256];
  std::snprintf(figure[0], sizeof figure[0], "%3.3f", static_cast<double>(FLT_MAX));
  std::snprintf(figure[1], sizeof figure[1], "%3.3f", static_cast<double>(-FLT_MAX));
  EXPECT_EQ(Compose(FLT_MAX, -FLT_MAX), ExpectedReport(figure[0], figure[1]));
}

TEST(ReportText, MakerAddressesAndNotice) {
  EXPECT_STREQ(kMakerMail, "results@tarvolo.example");
  EXPECT_STREQ(kMakerWeb, "https://tarvolo.example/");
  EXPECT_STREQ(
      kReportNotice,
      "\x8C\x8B\x89\xCA\x82\xCD "  // 結果は
      "https://tarvolo.example/"
      " \x82\xC5\x8C\xF6\x8A\x4A\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42");  // で公開しています。
  EXPECT_STREQ(kReportNotice, "結果は https://tarvolo.example/ で公開しています。");
}

}  // namespace
