// The main window's class run inside the test program, for what another process
// cannot read: the system menu and the window's icons.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/BenchDlg.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tarvolo_process.h"

namespace {

CWinApp g_testApp;

// CBenchDlg running modally on a thread of its own, as on the program's window thread.
class MainWindowHere {
 public:
  MainWindowHere() {
    m_thread = std::thread([this] {
      CBenchDlg dlg;
      g_testApp.m_pMainWnd = &dlg;
      m_threadId = ::GetCurrentThreadId();
      dlg.DoModal();
      g_testApp.m_pMainWnd = nullptr;
    });
    WaitUntil(
        [this] {
          if (m_threadId == 0) return false;
          ::EnumThreadWindows(m_threadId, FindMain, reinterpret_cast<LPARAM>(&m_hMain));
          return m_hMain != nullptr;
        },
        10000);
  }
  ~MainWindowHere() {
    if (m_hMain) ::PostMessageA(m_hMain, WM_COMMAND, IDCANCEL, 0);
    m_thread.join();
  }
  HWND Window() const { return m_hMain; }

 private:
  // The dialog manager shows the window once its initialisation is done.
  static BOOL CALLBACK FindMain(HWND hWnd, LPARAM lParam) {
    if (!::GetDlgItem(hWnd, IDC_LIMIT) || !::IsWindowVisible(hWnd)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
  }

  std::thread m_thread;
  std::atomic<DWORD> m_threadId{0};
  HWND m_hMain = nullptr;
};

TEST(MainWindowHere, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
  MainWindowHere main;
  ASSERT_NE(main.Window(), nullptr);
  HMENU hMenu = ::GetSystemMenu(main.Window(), FALSE);
  ASSERT_NE(hMenu, nullptr);
  int count = ::GetMenuItemCount(hMenu);
  ASSERT_GE(count, 2);
  EXPECT_TRUE(::GetMenuState(hMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(::GetMenuItemID(hMenu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  char text[64] = "";
  ::GetMenuStringA(hMenu, count - 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Tarvolo について (&A)...");
}

TEST(MainWindowHere, CarriesTheApplicationIconLargeAndSmall) {
  MainWindowHere main;
  ASSERT_NE(main.Window(), nullptr);
  HICON hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(hIcon, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(main.Window(), WM_GETICON, ICON_BIG, 0)), hIcon);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(main.Window(), WM_GETICON, ICON_SMALL, 0)),
            hIcon);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(main.Window(), WM_QUERYDRAGICON, 0, 0)), hIcon)
      << "dragging the minimised window shows the icon";
}

}  // namespace
