// Runs the real Tarvolo.exe as a user would meet it and drives its windows from
// outside by window messages.
#ifndef TARVOLO_TESTS_SUPPORT_TARVOLO_PROCESS_H
#define TARVOLO_TESTS_SUPPORT_TARVOLO_PROCESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/unique_handles.h"

// Path of a file that lies beside the running test program.
std::string BesideTestProgram(const char* fileName);

// Polls `done` every few milliseconds until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

// Text of any window or control, as the program holds it (Shift_JIS).
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

  // Presses a button and returns once the program has handled the press.
  void Click(int nID) const;
  // Presses a button without waiting: for presses that open a modal window.
  void PostClick(int nID) const;
  // Chooses a list entry the way the keyboard does (Down or Up on the closed list).
  void ChooseLimit(int index) const;
  // Waits until the Start button reads "測定開始" again.
  bool WaitForIdle(int timeoutMs) const;

  // Top-level windows of the program with the given caption, newest first.
  std::vector<HWND> WindowsCaptioned(const std::string& caption) const;
  // The window that has the keyboard focus in the program's window thread.
  HWND Focus() const;

  // The arguments of each logged call of `function` (e.g. "user32.DrawIcon")
  // by this program so far, as Wine writes them (hexadecimal, comma-separated).
  std::vector<std::string> LoggedCalls(const char* function) const;
  int BeepCount() const { return static_cast<int>(LoggedCalls("user32.MessageBeep").size()); }

  // Waits for a window of the program with this caption; null if none came.
  HWND WaitForWindowCaptioned(const std::string& caption, int timeoutMs) const;

  // Waits for the process to end; false if it is still running after timeoutMs.
  bool WaitForExit(int timeoutMs, DWORD* pExitCode) const;

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
};

#endif
