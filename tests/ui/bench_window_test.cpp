// The main window of the real Tarvolo.exe, driven from outside as a user would.
#include <gtest/gtest.h>

#include <regex>

#include "res/resource.h"
#include "tests/support/tarvolo_process.h"
#include "tests/ui/main_window_idle.h"

namespace {

const char kMeasuring[] = "測定中";

bool IsSecondsText(const std::string& text) {
  return std::regex_match(text, std::regex("[0-9]+\\.[0-9]{3}"));
}

// Wine hands another process a list entry as UTF-16 whatever the message's
// character set, so ask in UTF-16 and convert to the program's code page.
std::string ListEntry(const TarvoloProcess& app, HWND hList, int index) {
  wchar_t wide[64] = L"";
  LRESULT length = app.Send(hList, CB_GETLBTEXTLEN, index);
  if (length < 0 || length >= static_cast<LRESULT>(sizeof wide / sizeof *wide)) return "";
  app.Send(hList, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide));
  char text[256] = "";
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

// The simple beep (0xFFFFFFFF), not one of the system's sounds; Wine logs the
// argument in hexadecimal, a 64-bit register in full.
::testing::AssertionResult IsSimpleBeep(const std::string& argument) {
  if (static_cast<unsigned>(std::stoull(argument, nullptr, 16)) == 0xFFFFFFFFu) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "MessageBeep(" << argument << ")";
}

TEST(MainWindow, OpensIdleWithTenThousandChosenAndFocusOnStart) {
  TarvoloProcess app;
  HWND hList = app.Control(IDC_LIMIT);
  EXPECT_EQ(app.Text(IDC_RESULT), "");
  EXPECT_EQ(app.Text(IDC_BEST), "");
  ASSERT_EQ(app.Send(hList, CB_GETCOUNT), 2);
  EXPECT_EQ(ListEntry(app, hList, 0), "10,000");
  EXPECT_EQ(ListEntry(app, hList, 1), "100,000");
  EXPECT_EQ(app.Send(hList, CB_GETCURSEL), 0);
  EXPECT_TRUE(ShowsIdle(app));
  EXPECT_EQ(app.Focus(), app.Control(IDOK));
  EXPECT_EQ(LOWORD(app.Send(app.MainWindow(), DM_GETDEFID)), IDOK) << "Enter presses Start";
}

// A record is kept and shown, with a beep, exactly when a run is strictly faster.
TEST(MainWindow, RunsAtTenThousandAndKeepsTheBestWithABeepPerRecord) {
  TarvoloProcess app(/*logCalls=*/true);
  app.Click(IDOK);
  ASSERT_TRUE(app.WaitForIdle());
  std::string first = app.Text(IDC_RESULT);
  EXPECT_TRUE(IsSecondsText(first)) << first;
  EXPECT_EQ(app.Text(IDC_BEST), first) << "the first run is the record";
  ASSERT_TRUE(app.WaitUntil([&] { return app.BeepCount() == 1; }, 5000))
      << "beeps: " << app.BeepCount();
  EXPECT_TRUE(IsSimpleBeep(app.LoggedCalls("user32.MessageBeep").front()));

  int records = 1;
  std::string best = first;
  for (int run = 0; run < 4; ++run) {
    app.Click(IDOK);
    ASSERT_TRUE(app.WaitForIdle());
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
  EXPECT_TRUE(ShowsIdle(app));
}

TEST(MainWindow, ShowsMeasuringDuringAHundredThousandRunAndItsRecordAfter) {
  TarvoloProcess app;
  app.ChooseLimit(1);
  ASSERT_EQ(app.Send(app.Control(IDC_LIMIT), CB_GETCURSEL), 1);
  app.Click(IDOK);

  EXPECT_EQ(app.Text(IDC_RESULT), kMeasuring);
  EXPECT_EQ(app.Text(IDOK), kMeasuring);
  EXPECT_FALSE(app.Enabled(IDOK));
  EXPECT_FALSE(app.Enabled(IDC_REPORT));
  EXPECT_FALSE(app.Enabled(IDC_LIMIT));
  EXPECT_TRUE(app.Enabled(IDCANCEL)) << "Close stays usable during a run";

  ASSERT_TRUE(app.WaitForIdle());
  std::string result = app.Text(IDC_RESULT);
  EXPECT_TRUE(IsSecondsText(result)) << result;
  EXPECT_EQ(app.Text(IDC_BEST), result);
  EXPECT_TRUE(ShowsIdle(app));
}

// Disabled controls stop only real input: messages from another program reach
// the window all the same, and a run must still be the only one, keep its limit
// and keep the report shut until it is done.
TEST(MainWindow, ARunHoldsAgainstCommandsSentWhileItLastsAndHandsTheKeyboardBack) {
  TarvoloProcess app;
  HWND hMain = app.MainWindow();
  HWND hList = app.Control(IDC_LIMIT);
  app.ChooseLimit(1);
  app.Click(IDOK);
  ASSERT_EQ(app.Text(IDOK), kMeasuring);
  const int threadsDuringRun = app.ThreadCount();

  app.Click(IDOK);  // BM_CLICK on the disabled button still sends BN_CLICKED
  app.Send(hMain, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(app.ThreadCount(), threadsDuringRun) << "a second run was started";

  app.Send(hList, CB_SETCURSEL, 0);
  app.Send(hMain, WM_COMMAND, MAKEWPARAM(IDC_LIMIT, CBN_SELCHANGE),
           reinterpret_cast<LPARAM>(hList));
  EXPECT_EQ(app.Send(hList, CB_GETCURSEL), 1) << "the list shows the measured limit";

  // A report window that opened would fail the send at once.
  app.Send(hMain, WM_COMMAND, MAKEWPARAM(IDC_REPORT, BN_CLICKED),
           reinterpret_cast<LPARAM>(app.Control(IDC_REPORT)));
  EXPECT_TRUE(app.WindowsCaptioned("結果報告書作成").empty()) << "a report over the run";
  EXPECT_EQ(app.Text(IDOK), kMeasuring) << "the run ended before all was sent";

  ASSERT_TRUE(app.WaitForIdle());
  std::string result = app.Text(IDC_RESULT);
  EXPECT_EQ(app.Text(IDC_BEST), result) << "the record of 100,000";
  EXPECT_EQ(app.Focus(), app.Control(IDOK)) << "the keyboard is back on Start";
  ::Sleep(300);
  EXPECT_EQ(app.Text(IDC_RESULT), result) << "a second completion arrived";
  app.ChooseLimit(0);
  EXPECT_EQ(app.Text(IDC_BEST), "") << "10,000 has no record yet";

  // Enter, where the keyboard now is, starts the next run.
  app.ChooseLimit(1);
  HWND hFocus = app.Focus();
  ASSERT_NE(hFocus, nullptr) << "Enter goes nowhere";
  ::PostMessageA(hFocus, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  ::PostMessageA(hFocus, WM_KEYUP, VK_RETURN, 0xC01C0001);
  EXPECT_TRUE(app.WaitUntil([&] { return app.Text(IDOK) == kMeasuring; }, 5000));
  ASSERT_TRUE(app.WaitForIdle());
}

// The worker's completion message, as another program (or a run's late
// completion) could send it when no run waits: 1 ms, a record if it counted.
TEST(MainWindow, ACompletionNoRunWaitsForChangesNothing) {
  const UINT kMeasureDone = WM_APP + 1;
  TarvoloProcess app(/*logCalls=*/true);
  app.Send(app.MainWindow(), kMeasureDone, 0, 1);
  EXPECT_EQ(app.Text(IDC_RESULT), "");
  EXPECT_EQ(app.Text(IDC_BEST), "");

  app.Click(IDOK);
  ASSERT_TRUE(app.WaitForIdle());
  std::string result = app.Text(IDC_RESULT);
  app.Send(app.MainWindow(), kMeasureDone, 0, 1);
  EXPECT_EQ(app.Text(IDC_RESULT), result);
  EXPECT_EQ(app.Text(IDC_BEST), result);
  ::Sleep(200);
  EXPECT_EQ(app.BeepCount(), 1) << "a beep for the stray completion";
}

TEST(MainWindow, ChoosingTheOtherLimitShowsItsOwnRecord) {
  TarvoloProcess app;
  app.Click(IDOK);
  ASSERT_TRUE(app.WaitForIdle());
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
