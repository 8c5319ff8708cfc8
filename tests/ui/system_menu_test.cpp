// The main window's system-menu side of the real Tarvolo.exe: the About box, the
// platform's own system commands and the minimised icon, driven from outside.
#include <gtest/gtest.h>

#include <regex>

#include "res/resource.h"
#include "tests/support/tarvolo_process.h"
#include "tests/ui/main_window_idle.h"

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
  return app.WaitForWindowCaptioned(kAboutCaption, 10000);
}

TEST(SystemMenu, AboutOpensCentredOverTheDisabledMainWindowAndClosesWithOK) {
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
  ASSERT_TRUE(app.WaitUntil([&] { return !::IsWindow(hAbout); }, 10000));
  EXPECT_TRUE(::IsWindowEnabled(app.MainWindow()));
}

TEST(SystemMenu, OtherSystemCommandsBehaveAsThePlatformMakesThem) {
  TarvoloProcess app;
  app.Send(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(app.WaitUntil([&] { return ::IsIconic(app.MainWindow()) != FALSE; }, 5000));
  app.Send(app.MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(app.WaitUntil([&] { return ::IsIconic(app.MainWindow()) == FALSE; }, 5000));
  app.Send(app.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(app.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// Minimised, the window paints the application icon centred in its client area.
// Wine, like Windows since 95, shrinks that area to nothing, so the system has no
// reason to ask for a paint and the test asks itself; the icon then sits at minus
// half its size. Restored, the window leaves painting to the platform.
TEST(SystemMenu, TheMinimisedWindowPaintsItsIconCentred) {
  TarvoloProcess app(/*logCalls=*/true);
  app.Send(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(::IsIconic(app.MainWindow()));
  app.Send(app.MainWindow(), WM_PAINT);
  ASSERT_TRUE(app.WaitUntil([&] { return !app.LoggedCalls("user32.DrawIcon").empty(); }, 5000));
  std::vector<std::string> arguments = Split(app.LoggedCalls("user32.DrawIcon").front(), ',');
  ASSERT_EQ(arguments.size(), 4u);
  int x = static_cast<int>(std::stoul(arguments[1], nullptr, 16));
  int y = static_cast<int>(std::stoul(arguments[2], nullptr, 16));
  // An empty client area, halves truncated toward zero: (0 - 32 + 1) / 2 is -15.
  EXPECT_EQ(x, (0 - ::GetSystemMetrics(SM_CXICON) + 1) / 2);
  EXPECT_EQ(y, (0 - ::GetSystemMetrics(SM_CYICON) + 1) / 2);
  EXPECT_NE(std::stoul(arguments[3], nullptr, 16), 0u) << "an icon was drawn";

  app.Send(app.MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
  app.Send(app.MainWindow(), WM_PAINT);
  ::Sleep(300);
  EXPECT_EQ(app.LoggedCalls("user32.DrawIcon").size(), 1u) << "restored, no icon is drawn";
}

// The run goes on behind the About box and completes there: result, controls,
// record and beep, all while the box is still open.
TEST(SystemMenu, ARunCompletesBehindTheAboutBox) {
  TarvoloProcess app(/*logCalls=*/true);
  app.ChooseLimit(1);
  app.Click(IDOK);
  ASSERT_EQ(app.Text(IDOK), "測定中");
  HWND hAbout = OpenAbout(app);
  ASSERT_NE(hAbout, nullptr);

  ASSERT_TRUE(app.WaitForIdle());
  EXPECT_TRUE(::IsWindow(hAbout));
  std::string result = app.Text(IDC_RESULT);
  EXPECT_TRUE(std::regex_match(result, std::regex("[0-9]+\\.[0-9]{3}"))) << result;
  EXPECT_EQ(app.Text(IDC_BEST), result);
  EXPECT_TRUE(ShowsIdle(app));
  EXPECT_TRUE(app.WaitUntil([&] { return app.BeepCount() == 1; }, 5000));

  ::PostMessageA(::GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(app.WaitUntil([&] { return !::IsWindow(hAbout); }, 10000));
  EXPECT_TRUE(::IsWindowEnabled(app.MainWindow()));
}

}  // namespace
