// Runs the real Tarvolo.exe as a user would meet it and drives its windows from
// outside by window messages.
#ifndef TARVOLO_TESTS_SUPPORT_TARVOLO_PROCESS_H
#define TARVOLO_TESTS_SUPPORT_TARVOLO_PROCESS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/unique_handles.h"

// Path of a file that lies beside the running test program.
std::wstring BesideTestProgram(const wchar_t* fileName);

// Polls `done` every few milliseconds until it holds or `timeoutMs` has passed.
::testing::AssertionResult WaitUntil(const std::function<bool()>& done, int timeoutMs);

// The one way the tests send a message into a window: with a deadline, so that a
// window whose thread is held (a handler inside a modal box) cannot hold the test,
// and in UTF-16, so that a text goes as exactly the characters given. False, with
// *pResult 0, when no answer came in time. A test drives the program through
// TarvoloProcess::Send, which watches it meanwhile; this is for what cannot open
// a window (reading a text) and for windows of the test's own thread.
bool SendWithin(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs,
                LRESULT* pResult);

// Text of any window or control, as the program holds it (Shift_JIS); empty
// when the window does not answer within seconds.
std::string WindowText(HWND hWnd);
// The program's text (Shift_JIS) in UTF-16, to send it.
std::wstring Utf16(const std::string& shiftJis);

class TarvoloProcess {
 public:
  // Starts Tarvolo.exe and waits for its main window. With `logCalls`, Wine's
  // relay channel reports the program's calls of the functions named by the
  // prefix's RelayInclude setting (MessageBeep, DrawIcon) on the Unix stderr it
  // shares with this test, which the test runner sends to the file named by
  // TARVOLO_STDERR_LOG. `exeName` names a copy of the program beside the test.
  explicit TarvoloProcess(bool logCalls = false, const wchar_t* exeName = L"Tarvolo.exe");
  ~TarvoloProcess();
  TarvoloProcess(const TarvoloProcess&) = delete;
  TarvoloProcess& operator=(const TarvoloProcess&) = delete;

  HWND MainWindow() const { return m_hMain; }
  HWND Control(int nID) const { return ::GetDlgItem(m_hMain, nID); }
  std::string Text(int nID) const { return WindowText(Control(nID)); }
  bool Enabled(int nID) const { return ::IsWindowEnabled(Control(nID)) != FALSE; }

  // Sends a message the way a user's action arrives and returns the answer (text
  // goes as UTF-16: pass wide strings). A window the test did not expect (a box
  // the handler opened) fails the test at once with its caption and text; so does
  // no answer within seconds. It returns when the send is over (by its deadline
  // at the latest), so that what lParam points to need only outlive the call.
  LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // Presses a button and returns once the program has handled the press.
  void Click(int nID) const;
  // Presses a button without waiting: for presses that open a modal window.
  void PostClick(int nID) const;
  // Chooses a list entry the way the keyboard does (Down or Up on the closed list).
  void ChooseLimit(int index) const;
  // Waits until the Start button reads "測定開始" again.
  ::testing::AssertionResult WaitForIdle(int timeoutMs = kRunTimeoutMs) const;

  // Waits until `done` holds. Fails at once, with its caption and text, when a
  // window of the program appears that the test did not expect, and at the
  // deadline with what the program shows.
  ::testing::AssertionResult WaitUntil(const std::function<bool()>& done, int timeoutMs) const;
  // A window the test means to see (a box it provoked): no longer unexpected.
  void Expect(HWND hWnd) const { m_expected.push_back(hWnd); }
  // The visible windows that the test did not expect, each with its caption and
  // texts; empty when there is none. A crash box of Wine's debugger counts too.
  std::string UnexpectedWindows() const;
  // What the program shows now: the main window's read-outs and every window.
  std::string Describe() const;

  // Longest time a run may take (a run at 100,000 under the emulated 32-bit Wine
  // on a loaded machine takes a few seconds).
  static constexpr int kRunTimeoutMs = 30000;

  // Top-level windows of the program with the given caption, newest first.
  std::vector<HWND> WindowsCaptioned(const std::string& caption) const;
  // The window that has the keyboard focus in the program's window thread.
  HWND Focus() const;

  // The arguments of each logged call of `function` (e.g. "user32.DrawIcon")
  // by this program so far, as Wine writes them (hexadecimal, comma-separated).
  std::vector<std::string> LoggedCalls(const char* function) const;
  int BeepCount() const { return static_cast<int>(LoggedCalls("user32.MessageBeep").size()); }

  // Waits for a window of the program with this caption, which the test then
  // expects; null if none came (the failure says what came instead).
  HWND WaitForWindowCaptioned(const std::string& caption, int timeoutMs) const;

  // Waits for the process to end; fails if it is still running after timeoutMs
  // (at once when a crash box or another window shows up instead).
  ::testing::AssertionResult WaitForExit(int timeoutMs, DWORD* pExitCode) const;

  // Threads of the program's process now (each run adds its worker while it lasts).
  int ThreadCount() const;

  DWORD ProcessId() const { return m_processId; }
  DWORD ThreadId() const { return ::GetWindowThreadProcessId(m_hMain, nullptr); }

 private:
  UniqueHandle m_hProcess;
  DWORD m_processId = 0;
  HWND m_hMain = nullptr;
  std::string m_logPath;
  long m_logStart = 0;  // where this program's part of the shared log begins
  mutable std::vector<HWND> m_expected;
};

#endif
