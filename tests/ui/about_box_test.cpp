// The main window's system-menu side of the real Tarvolo.exe: the About box and
// the platform's own system commands, driven from outside.
#include <gtest/gtest.h>

#include <regex>

#include "res/resource.h"
#include "tarvolo_process.h"

namespace {

const char kAboutCaption[] = "About Tarvolo";

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
  return TRUE;
}

std::vector<std::string> ChildTexts(HWND hParent) {
  std::vector<HWND> children;
  ::EnumChildWindows(hParent, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<std::string> texts;
  for (HWND hChild : children) texts.push_back(WindowText(hChild));
  return texts;
}

POINT Centre(HWND hWnd) {
  RECT rect;
  ::GetWindowRect(hWnd, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Chooses the About entry of the system menu (the menu itself belongs to the
// program's process, so the command is sent as the menu would send it).
HWND OpenAbout(const TarvoloProcess& app) {
  ::PostMessageA(app.MainWindow(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND hAbout = nullptr;
  WaitUntil(
      [&] {
        auto windows = app.WindowsCaptioned(kAboutCaption);
        hAbout = windows.empty() ? nullptr : windows.front();
        return hAbout != nullptr;
      },
      10000);
  return hAbout;
}

TEST(AboutBox, OpensCentredOverTheDisabledMainWindowAndClosesWithOK) {
  TarvoloProcess app;
  HWND hAbout = OpenAbout(app);
  ASSERT_NE(hAbout, nullptr);
  auto texts = ChildTexts(hAbout);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Tarvolo  V1.00"), texts.end());
  EXPECT_EQ(WindowText(::GetDlgItem(hAbout, IDOK)), "OK");
  EXPECT_EQ(::GetWindow(hAbout, GW_OWNER), app.MainWindow());
  EXPECT_FALSE(::IsWindowEnabled(app.MainWindow()));
  POINT about = Centre(hAbout);
  POINT main = Centre(app.MainWindow());
  EXPECT_LE(std::abs(about.x - main.x), 1);
  EXPECT_LE(std::abs(about.y - main.y), 1);

  ::PostMessageA(::GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hAbout); }, 10000));
  EXPECT_TRUE(::IsWindowEnabled(app.MainWindow()));
}

TEST(AboutBox, OtherSystemCommandsBehaveAsThePlatformMakesThem) {
  TarvoloProcess app;
  ::SendMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(app.MainWindow()) != FALSE; }, 5000));
  ::SendMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(app.MainWindow()) == FALSE; }, 5000));
  ::SendMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(app.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

// The run goes on behind the About box and completes there: result, controls,
// record and beep, all while the box is still open.
TEST(AboutBox, ARunCompletesBehindTheAboutBox) {
  TarvoloProcess app(/*logBeeps=*/true);
  app.ChooseLimit(1);
  app.Click(IDOK);
  ASSERT_EQ(app.Text(IDOK), "測定中");
  HWND hAbout = OpenAbout(app);
  ASSERT_NE(hAbout, nullptr);

  ASSERT_TRUE(app.WaitForIdle(180000));
  EXPECT_TRUE(::IsWindow(hAbout));
  std::string result = app.Text(IDC_RESULT);
  EXPECT_TRUE(std::regex_match(result, std::regex("[0-9]+\\.[0-9]{3}"))) << result;
  EXPECT_EQ(app.Text(IDC_BEST), result);
  EXPECT_TRUE(app.Enabled(IDOK));
  EXPECT_TRUE(app.Enabled(IDC_REPORT));
  EXPECT_TRUE(app.Enabled(IDC_LIMIT));
  EXPECT_TRUE(WaitUntil([&] { return app.BeepCount() == 1; }, 5000));

  ::PostMessageA(::GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hAbout); }, 10000));
  EXPECT_TRUE(::IsWindowEnabled(app.MainWindow()));
}

}  // namespace
