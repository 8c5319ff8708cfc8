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
std::string BesideTestProgram(const char* fileName);

// Polls `done` every few milliseconds until it holds or `timeoutMs` has passed.
::testing::AssertionResult WaitUntil(const std::function<bool()>& done, int timeoutMs);

// Text of any window or control, as the program holds it (Shift_JIS); empty
// when the window does not answer within seconds.
std::string WindowText(HWND hWnd);

class TarvoloProcess {
 public:
  // Starts Tarvolo.exe and waits for its main window. With `logCalls`, Wine's
  // relay channel reports the program's calls of the functions named by the
  // prefix's RelayInclude setting (MessageBeep, DrawIcon) on the Unix stderr it
  // shares with this test, which the test runner sends to the file named by
  // TARVOLO_STDERR_LOG. `exeName` names a copy of the program beside the test.
  explicit TarvoloProcess(bool logCalls = false, const char* exeName = "Tarvolo.exe");
  ~TarvoloProcess();
  TarvoloProcess(const TarvoloProcess&) = delete;
  TarvoloProcess& operator=(const TarvoloProcess&) = delete;

  HWND MainWindow() const { return m_hMain; }
  HWND Control(int nID) const { return ::GetDlgItem(m_hMain, nID); }
  std::string Text(int nID) const { return WindowText(Control(nID)); }
  bool Enabled(int nID) const { return ::IsWindowEnabled(Control(nID)) != FALSE; }

  // Sends a message the way a user's action arrives and returns the answer. A
  // window the test did not expect (a box the handler opened) fails the test at
  // once with its caption and text; so does no answer within seconds.
  LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // The same for a send that carries data (`send` owns it, so a send given up
  // on cannot outlive it).
  LRESULT Act(const std::function<LRESULT()>& send) const;

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
