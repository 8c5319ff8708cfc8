// The report window's notice line inside a test program: the whole notice is
// drawn within its control, measured with the control's own font, at the
// system's DPI and at 96 and 144 DPI (Windows' 100 % and 150 %).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "report/ReportDlg.h"
#include "res/resource.h"
#include "tests/ui/dialog_here.h"

namespace {

const wchar_t kNotice[] = L"結果は https://tarvolo.example/ で公開しています。";

// The report as the program opens it before any run: both figures 0.
void NoRunsYet(CReportDlg* pReport) {
  if (pReport) pReport->m_fTime[0] = pReport->m_fTime[1] = 0.0f;
}

// Run at the DPI the process was started with; TARVOLO_DPI names the one
// expected (set by the test below, which starts this one at each DPI).
TEST(ReportNotice, IsDrawnWholeAtTheSystemsDpi) {
  DialogHere<CReportDlg> report(IDC_NOTICE, NoRunsYet);
  HWND hNotice = ::GetDlgItem(report.Window(), IDC_NOTICE);
  ASSERT_NE(hNotice, nullptr) << "the report window did not open";

  HDC hDC = ::GetDC(hNotice);
  const int dpi = ::GetDeviceCaps(hDC, LOGPIXELSY);
  char expected[16] = "";
  if (::GetEnvironmentVariableA("TARVOLO_DPI", expected, sizeof expected) > 0) {
    EXPECT_EQ(std::to_string(dpi), expected) << "not started at the DPI asked for";
  }
  wchar_t text[256] = L"";
  ::GetWindowTextW(hNotice, text, 256);
  EXPECT_STREQ(text, kNotice);

  HGDIOBJ hOld = ::SelectObject(hDC, reinterpret_cast<HFONT>(report.Send(hNotice, WM_GETFONT)));
  SIZE drawn = {};
  ::GetTextExtentPoint32W(hDC, text, static_cast<int>(wcslen(text)), &drawn);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(hNotice, hDC);
  RECT client = {};
  ::GetClientRect(hNotice, &client);
  const DWORD margins = static_cast<DWORD>(report.Send(hNotice, EM_GETMARGINS));
  const int room = client.right - client.left - LOWORD(margins) - HIWORD(margins);
  std::printf("at %d DPI the notice is %ld pixels wide, its control has room for %d\n", dpi,
              static_cast<long>(drawn.cx), room);
  EXPECT_GT(drawn.cx, 0);
  EXPECT_LE(drawn.cx, room) << "the notice is cut off at " << dpi << " DPI";
}

// The DPI every process of the prefix starts with from now on, until the
// setting is put back as it was.
class LogPixelsSetting {
 public:
  LogPixelsSetting() {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_hKey, nullptr);
    DWORD size = sizeof m_saved, type = 0;
    m_hadValue =
        m_hKey && ::RegQueryValueExA(m_hKey, "LogPixels", nullptr, &type,
                                     reinterpret_cast<BYTE*>(&m_saved), &size) == ERROR_SUCCESS;
  }
  ~LogPixelsSetting() {
    if (!m_hKey) return;
    if (m_hadValue) {
      Set(m_saved);
    } else {
      ::RegDeleteValueA(m_hKey, "LogPixels");
    }
    ::RegCloseKey(m_hKey);
  }
  LogPixelsSetting(const LogPixelsSetting&) = delete;
  LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;

  bool Set(DWORD dpi) const {
    return m_hKey &&
           ::RegSetValueExA(m_hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                            sizeof dpi) == ERROR_SUCCESS;
  }

 private:
  HKEY m_hKey = nullptr;
  DWORD m_saved = 0;
  bool m_hadValue = false;
};

// Runs the test above in a process of its own; its exit code, or -1.
int RunNoticeTestAt(DWORD dpi) {
  char self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self) return -1;
  std::string commandLine =
      std::string("\"") + self + "\" --gtest_filter=ReportNotice.IsDrawnWholeAtTheSystemsDpi";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ::SetEnvironmentVariableA("TARVOLO_DPI", std::to_string(dpi).c_str());
  const BOOL started = ::CreateProcessA(self, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
  ::SetEnvironmentVariableA("TARVOLO_DPI", nullptr);
  if (!started) return -1;
  DWORD exitCode = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(process.hProcess, &exitCode);
  } else {
    ::TerminateProcess(process.hProcess, static_cast<UINT>(-1));
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

// Wine, like Windows, reads the DPI once as a process starts.
TEST(ReportNotice, IsDrawnWholeAt96And144Dpi) {
  LogPixelsSetting logPixels;
  for (DWORD dpi : {96, 144}) {
    ASSERT_TRUE(logPixels.Set(dpi)) << "cannot set the DPI in the registry";
    EXPECT_EQ(RunNoticeTestAt(dpi), 0)
        << "at " << dpi
        << " DPI (0: passed, 1: failed, its output above; -1: did not start or end)";
  }
}

}  // namespace
