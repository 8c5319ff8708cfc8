// The main window of the real Tarvolo.exe, driven from outside as a user would.
#include <gtest/gtest.h>

#include <regex>

#include "res/resource.h"
#include "tarvolo_process.h"

namespace {

const char kMeasuring[] = "測定中";
const char kStart[] = "測定開始";
constexpr int kRunTimeoutMs = 180000;

bool IsSecondsText(const std::string& text) {
  return std::regex_match(text, std::regex("[0-9]+\\.[0-9]{3}"));
}

// Wine hands another process a list entry as UTF-16 whatever the message's
// character set, so ask in UTF-16 and convert to the program's code page.
std::string ListEntry(HWND hList, int index) {
  wchar_t wide[64] = L"";
  LRESULT length = ::SendMessageW(hList, CB_GETLBTEXTLEN, index, 0);
  if (length < 0 || length >= static_cast<LRESULT>(sizeof wide / sizeof *wide)) return "";
  ::SendMessageW(hList, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide));
  char text[256] = "";
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

TEST(MainWindow, OpensIdleWithTenThousandChosenAndFocusOnStart) {
  TarvoloProcess app;
  HWND hList = app.Control(IDC_LIMIT);
  EXPECT_EQ(app.Text(IDC_RESULT), "");
  EXPECT_EQ(app.Text(IDC_BEST), "");
  ASSERT_EQ(::SendMessageA(hList, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ListEntry(hList, 0), "10,000");
  EXPECT_EQ(ListEntry(hList, 1), "100,000");
  EXPECT_EQ(::SendMessageA(hList, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(app.Text(IDOK), kStart);
  EXPECT_TRUE(app.Enabled(IDOK));
  EXPECT_TRUE(app.Enabled(IDC_REPORT));
  EXPECT_TRUE(app.Enabled(IDC_LIMIT));
  EXPECT_EQ(app.Focus(), app.Control(IDOK));
  EXPECT_EQ(LOWORD(::SendMessageA(app.MainWindow(), DM_GETDEFID, 0, 0)), IDOK)
      << "Enter presses Start";
}

// A record is kept and shown, with a beep, exactly when a run is strictly faster.
TEST(MainWindow, RunsAtTenThousandAndKeepsTheBestWithABeepPerRecord) {
  TarvoloProcess app(/*logCalls=*/true);
  app.Click(IDOK);
  ASSERT_TRUE(app.WaitForIdle(kRunTimeoutMs));
  std::string first = app.Text(IDC_RESULT);
  EXPECT_TRUE(IsSecondsText(first)) << first;
  EXPECT_EQ(app.Text(IDC_BEST), first) << "the first run is the record";
  ASSERT_TRUE(WaitUntil([&] { return app.BeepCount() == 1; }, 5000))
      << "beeps: " << app.BeepCount();

  int records = 1;
  std::string best = first;
  for (int run = 0; run < 4; ++run) {
    app.Click(IDOK);
    ASSERT_TRUE(app.WaitForIdle(kRunTimeoutMs));
    std::string result = app.Text(IDC_RESULT);
    ASSERT_TRUE(IsSecondsText(result)) << result;
    double seconds = std::stod(result);
    if (seconds < std::stod(best)) {
      best = result;
      ++records;
    }
    EXPECT_EQ(app.Text(IDC_BEST), best) << "after " << result;
    ::Sleep(200);
    EXPECT_EQ(app.BeepCount(), records) << "after " << result;
  }
  EXPECT_TRUE(app.Enabled(IDOK));
  EXPECT_TRUE(app.Enabled(IDC_REPORT));
  EXPECT_TRUE(app.Enabled(IDC_LIMIT));
}

TEST(MainWindow, ShowsMeasuringDuringAHundredThousandRunAndItsRecordAfter) {
  TarvoloProcess app;
  app.ChooseLimit(1);
  ASSERT_EQ(::SendMessageA(app.Control(IDC_LIMIT), CB_GETCURSEL, 0, 0), 1);
  app.Click(IDOK);

  EXPECT_EQ(app.Text(IDC_RESULT), kMeasuring);
  EXPECT_EQ(app.Text(IDOK), kMeasuring);
  EXPECT_FALSE(app.Enabled(IDOK));
  EXPECT_FALSE(app.Enabled(IDC_REPORT));
  EXPECT_FALSE(app.Enabled(IDC_LIMIT));
  EXPECT_TRUE(app.Enabled(IDCANCEL)) << "Close stays usable during a run";

  ASSERT_TRUE(app.WaitForIdle(kRunTimeoutMs));
  std::string result = app.Text(IDC_RESULT);
  EXPECT_TRUE(IsSecondsText(result)) << result;
  EXPECT_EQ(app.Text(IDC_BEST), result);
  EXPECT_TRUE(app.Enabled(IDOK));
  EXPECT_TRUE(app.Enabled(IDC_REPORT));
  EXPECT_TRUE(app.Enabled(IDC_LIMIT));
}

TEST(MainWindow, ChoosingTheOtherLimitShowsItsOwnRecord) {
  TarvoloProcess app;
  app.Click(IDOK);
  ASSERT_TRUE(app.WaitForIdle(kRunTimeoutMs));
  std::string record = app.Text(IDC_BEST);
  ASSERT_TRUE(IsSecondsText(record));

  app.ChooseLimit(1);
  EXPECT_EQ(app.Text(IDC_RESULT), "");
  EXPECT_EQ(app.Text(IDC_BEST), "") << "no run at 100,000 yet";

  app.ChooseLimit(0);
  EXPECT_EQ(app.Text(IDC_RESULT), "");
  EXPECT_EQ(app.Text(IDC_BEST), record);
}

TEST(MainWindow, CloseEndsTheProgram) {
  TarvoloProcess app;
  app.Click(IDCANCEL);
  DWORD exitCode = 1;
  ASSERT_TRUE(app.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST(MainWindow, CloseDuringAHundredThousandRunEndsTheProgramPromptly) {
  TarvoloProcess app;
  app.ChooseLimit(1);
  app.Click(IDOK);
  ASSERT_EQ(app.Text(IDOK), kMeasuring);
  app.Click(IDCANCEL);
  DWORD exitCode = 1;
  ASSERT_TRUE(app.WaitForExit(5000, &exitCode)) << "still running 5 s after Close";
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
