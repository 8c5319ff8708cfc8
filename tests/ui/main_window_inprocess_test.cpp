// The main window's class run inside the test program, for what another process
// cannot read: the system menu and the window's icons; and the dialog framework's
// own message handling, seen through a dialog of the main window's template.
#include <gtest/gtest.h>

#include "app/BenchDlg.h"
#include "framework/CWinApp.h"
#include "framework/CDialogImpl.h"
#include "res/resource.h"
#include "tests/ui/dialog_here.h"
#include "tests/support/tarvolo_process.h"

namespace {

CWinApp g_testApp;

// The program's application object sees the dialog as its main window.
void AsMainWindow(CWnd* pWnd) {
  g_testApp.m_pMainWnd = pWnd;
}

class MainWindowHere : public DialogHere<CBenchDlg> {
 public:
  MainWindowHere() : DialogHere(IDC_LIMIT, AsMainWindow) {}
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
  EXPECT_EQ(reinterpret_cast<HICON>(main.Send(main.Window(), WM_GETICON, ICON_BIG)), hIcon);
  EXPECT_EQ(reinterpret_cast<HICON>(main.Send(main.Window(), WM_GETICON, ICON_SMALL)), hIcon);
  EXPECT_EQ(reinterpret_cast<HICON>(main.Send(main.Window(), WM_QUERYDRAGICON)), hIcon)
      << "dragging the minimised window shows the icon";
}

// Asks for the default processing of a system command, then sends itself a
// message it handles, as a handler does that changes a control.
class NestedMessageDlg : public CDialogImpl<NestedMessageDlg> {
 public:
  enum { IDD = IDD_BENCH };

 private:
  static constexpr UINT WM_NESTED = WM_APP + 7;

  void OnSysCommand(UINT, LPARAM) {
    Default();
    SendMessage(WM_NESTED);
  }
  void OnNested(int, int) {}

 public:
  static constexpr MessageMapEntry<NestedMessageDlg> kMessageMap[] = {
      OnSysCommandEntry(&NestedMessageDlg::OnSysCommand),
      OnIntPairEntry(WM_NESTED, &NestedMessageDlg::OnNested),
  };
};

TEST(DialogFramework, AMessageSentDuringAHandlerLeavesItsDefaultProcessingAsked) {
  DialogHere<NestedMessageDlg> dialog(IDC_LIMIT, AsMainWindow);
  ASSERT_NE(dialog.Window(), nullptr);
  dialog.Send(dialog.Window(), WM_SYSCOMMAND, SC_MINIMIZE);
  EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(dialog.Window()) != FALSE; }, 5000))
      << "the minimise command was swallowed";
}

}  // namespace
