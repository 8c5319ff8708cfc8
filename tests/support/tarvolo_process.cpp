#include "tests/support/tarvolo_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "res/resource.h"

namespace {

// The program's texts are Shift_JIS whatever the locale (its manifest asks for
// that code page).
constexpr UINT kProgramCodePage = 932;

}  // namespace

std::wstring BesideTestProgram(const wchar_t* fileName) {
  std::vector<wchar_t> path(32768);
  DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) throw std::runtime_error("GetModuleFileName failed");
  std::wstring result(path.data(), length);
  result.erase(result.find_last_of(L"\\/") + 1);
  return result + fileName;
}

::testing::AssertionResult WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return ::testing::AssertionSuccess();
    if (static_cast<int>(::GetTickCount() - start) > timeoutMs) {
      if (done()) return ::testing::AssertionSuccess();
      return ::testing::AssertionFailure() << "not so within " << timeoutMs << " ms";
    }
    ::Sleep(5);
  }
}

bool SendWithin(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs,
                LRESULT* pResult) {
  DWORD_PTR result = 0;
  const bool answered = ::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_NORMAL,
                                              static_cast<UINT>(timeoutMs), &result) != 0;
  *pResult = answered ? static_cast<LRESULT>(result) : 0;
  return answered;
}

// Read in UTF-16 and converted here: an ANSI read would go through this test
// program's code page, which need not be the program's.
std::string WindowText(HWND hWnd) {
  wchar_t text[8192] = L"";
  LRESULT length = 0;
  if (!SendWithin(hWnd, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text), 3000, &length) ||
      length < 0 || length >= 8192) {
    length = 0;
  }
  const int units = static_cast<int>(length);
  const int size = ::WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, units,
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(std::max(size, 0)), '\0');
  if (size > 0) {
    ::WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, units, &bytes[0], size,
                          nullptr, nullptr);
  }
  return bytes;
}

std::wstring Utf16(const std::string& shiftJis) {
  const int size = static_cast<int>(shiftJis.size());
  std::wstring wide(shiftJis.size(), L'\0');
  const int units =
      ::MultiByteToWideChar(kProgramCodePage, 0, shiftJis.data(), size, &wide[0], size);
  wide.resize(static_cast<size_t>(std::max(units, 0)));
  return wide;
}

namespace {

struct FindState {
  DWORD processId;
  std::string caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectCaptioned(HWND hWnd, LPARAM lParam) {
  auto* state = reinterpret_cast<FindState*>(lParam);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(hWnd, &processId);
  if (processId == state->processId && ::IsWindowVisible(hWnd) &&
      WindowText(hWnd) == state->caption) {
    state->found.push_back(hWnd);
  }
  return TRUE;
}

// The shared stderr log, as a path this Windows program can open (Wine maps the
// Unix root to drive Z:).
std::string StderrLogPath() {
  char path[MAX_PATH] = "";
  DWORD length = ::GetEnvironmentVariableA("TARVOLO_STDERR_LOG", path, sizeof path);
  if (length == 0 || length >= sizeof path) return "";
  return path[0] == '/' ? std::string("Z:") + path : std::string(path);
}

long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<long>(data.nFileSizeLow);
}

// The longest a user's action may take to be handled.
constexpr int kAnswerMs = 10000;

// A window's text as UTF-8 for the test log, cut after `maxChars` characters.
std::string Readable(const std::string& text, size_t maxChars = 60) {
  std::wstring wide = Utf16(text);
  bool cut = wide.size() > maxChars;
  if (cut) wide.resize(maxChars);
  std::string utf8(wide.size() * 3, '\0');
  int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                     &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<size_t>(length > 0 ? length : 0));
  return "\"" + utf8 + (cut ? "...\"" : "\"");
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
  return TRUE;
}

// The program's process and those it started: Wine's debugger, which shows the
// crash box, is started by the process that crashed.
std::vector<DWORD> ProgramProcesses(DWORD processId) {
  std::vector<DWORD> ids = {processId};
  UniqueHandle hSnapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (hSnapshot.get() == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(hSnapshot.get(), &entry); more;
       more = ::Process32Next(hSnapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == processId) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

// Visible top-level windows of the program, and of the processes it started. A
// second program that a test runs beside it has windows of its own.
std::vector<HWND> ProgramWindows(DWORD processId) {
  const std::vector<DWORD> processes = ProgramProcesses(processId);
  std::vector<HWND> all;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> shown;
  for (HWND hWnd : all) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (std::find(processes.begin(), processes.end(), owner) != processes.end() &&
        ::IsWindowVisible(hWnd)) {
      shown.push_back(hWnd);
    }
  }
  return shown;
}

// A window's caption and the texts of its controls.
std::string DescribeWindow(HWND hWnd) {
  std::string description = "[" + Readable(WindowText(hWnd)) + ":";
  std::vector<HWND> children;
  ::EnumChildWindows(hWnd, CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND hChild : children) {
    std::string text = WindowText(hChild);
    if (!text.empty()) description += " " + Readable(text);
  }
  return description + "]";
}

// A send on a thread of its own, so that the test's thread can watch the
// program meanwhile.
struct Delivery {
  HWND hWnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
  bool answered;
};

DWORD WINAPI Deliver(LPVOID parameter) {
  auto* delivery = static_cast<Delivery*>(parameter);
  delivery->answered = SendWithin(delivery->hWnd, delivery->message, delivery->wParam,
                                  delivery->lParam, kAnswerMs, &delivery->result);
  return 0;
}

}  // namespace

TarvoloProcess::TarvoloProcess(bool logCalls, const wchar_t* exeName) {
  std::wstring exe = BesideTestProgram(exeName);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;

  // The relay channel of Wine's debug output reports each call named by the
  // prefix's RelayInclude setting.
  std::string environment;
  if (logCalls) {
    m_logPath = StderrLogPath();
    if (m_logPath.empty()) throw std::runtime_error("TARVOLO_STDERR_LOG is not set");
    m_logStart = FileSize(m_logPath);
    char* strings = ::GetEnvironmentStringsA();
    for (const char* p = strings; *p; p += std::strlen(p) + 1) {
      if (std::strncmp(p, "WINEDEBUG=", 10) != 0) environment.append(p).push_back('\0');
    }
    ::FreeEnvironmentStringsA(strings);
    environment.append("WINEDEBUG=-all,+relay").push_back('\0');
    environment.push_back('\0');
  }

  std::wstring commandLine = L"\"" + exe + L"\"";
  PROCESS_INFORMATION process = {};
  BOOL created =
      ::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                       logCalls ? &environment[0] : nullptr, nullptr, &startup, &process);
  if (!created) throw std::runtime_error("cannot start the program");
  UniqueHandle hThread(process.hThread);
  m_hProcess.reset(process.hProcess);
  m_processId = process.dwProcessId;

  ::testing::AssertionResult started = WaitUntil(
      [this] {
        auto windows = WindowsCaptioned("Tarvolo");
        for (HWND hWnd : windows) {
          if (::GetDlgItem(hWnd, IDC_LIMIT)) m_hMain = hWnd;
        }
        return m_hMain != nullptr;
      },
      30000);
  if (!started) {
    // Left running, it would stand in the way of every test after this one.
    ::TerminateProcess(m_hProcess.get(), 99);
    ::WaitForSingleObject(m_hProcess.get(), 5000);
    throw std::runtime_error(std::string("no main window: ") + started.message());
  }
  // Let start-up settle: a late event of the window's first showing would
  // otherwise undo what a test does to it at once (such as minimising it).
  ::WaitForInputIdle(m_hProcess.get(), 10000);
}

TarvoloProcess::~TarvoloProcess() {
  std::string unexpected = UnexpectedWindows();
  if (!unexpected.empty()) ADD_FAILURE() << "left behind: " << unexpected;
  if (::WaitForSingleObject(m_hProcess.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(m_hProcess.get(), 99);
    ::WaitForSingleObject(m_hProcess.get(), 5000);
  }
}

LRESULT TarvoloProcess::Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) const {
  Delivery delivery = {hWnd, message, wParam, lParam, 0, false};
  UniqueHandle hThread(::CreateThread(nullptr, 0, Deliver, &delivery, 0, nullptr));
  if (!hThread) {
    ADD_FAILURE() << "cannot start a thread to send from";
    return 0;
  }
  const ::testing::AssertionResult over = WaitUntil(
      [&] { return ::WaitForSingleObject(hThread.get(), 0) == WAIT_OBJECT_0; }, kAnswerMs + 2000);
  if (!over) ADD_FAILURE() << "while a message was sent: " << over.message();
  // Its deadline ends the send in any case; until then it uses `delivery`.
  ::WaitForSingleObject(hThread.get(), INFINITE);
  if (over && !delivery.answered) {
    ADD_FAILURE() << "no answer to a message within " << kAnswerMs << " ms; " << Describe();
  }
  return delivery.result;
}

::testing::AssertionResult TarvoloProcess::WaitUntil(const std::function<bool()>& done,
                                                     int timeoutMs) const {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return ::testing::AssertionSuccess();
    std::string unexpected = UnexpectedWindows();
    // The window may be the one waited for, come after the first look.
    if (!unexpected.empty() && !done()) {
      return ::testing::AssertionFailure() << "unexpected window: " << unexpected;
    }
    if (static_cast<int>(::GetTickCount() - start) > timeoutMs) {
      if (done()) return ::testing::AssertionSuccess();
      return ::testing::AssertionFailure()
             << "not so within " << timeoutMs << " ms; " << Describe();
    }
    ::Sleep(5);
  }
}

std::string TarvoloProcess::UnexpectedWindows() const {
  std::string found;
  for (HWND hWnd : ProgramWindows(m_processId)) {
    if (hWnd == m_hMain) continue;
    if (std::find(m_expected.begin(), m_expected.end(), hWnd) != m_expected.end()) continue;
    found += DescribeWindow(hWnd) + " ";
    m_expected.push_back(hWnd);  // said once is enough
  }
  return found;
}

std::string TarvoloProcess::Describe() const {
  std::string description = "the program shows:";
  for (HWND hWnd : ProgramWindows(m_processId)) description += " " + DescribeWindow(hWnd);
  return description;
}

void TarvoloProcess::Click(int nID) const {
  Send(Control(nID), BM_CLICK);
}

void TarvoloProcess::PostClick(int nID) const {
  ::PostMessageA(Control(nID), BM_CLICK, 0, 0);
}

void TarvoloProcess::ChooseLimit(int index) const {
  HWND hList = Control(IDC_LIMIT);
  for (LRESULT current = Send(hList, CB_GETCURSEL); current != index;) {
    Send(hList, WM_KEYDOWN, current < index ? VK_DOWN : VK_UP);
    const LRESULT now = Send(hList, CB_GETCURSEL);
    if (now == current) break;  // the list did not move
    current = now;
  }
}

::testing::AssertionResult TarvoloProcess::WaitForIdle(int timeoutMs) const {
  return WaitUntil([this] { return Text(IDOK) == "測定開始"; }, timeoutMs);
}

std::vector<HWND> TarvoloProcess::WindowsCaptioned(const std::string& caption) const {
  FindState state{m_processId, caption, {}};
  ::EnumWindows(CollectCaptioned, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

int TarvoloProcess::ThreadCount() const {
  UniqueHandle hSnapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (hSnapshot.get() == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(hSnapshot.get(), &entry); more;
       more = ::Thread32Next(hSnapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == m_processId) ++count;
  }
  return count;
}

HWND TarvoloProcess::Focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(ThreadId(), &info)) return nullptr;
  return info.hwndFocus;
}

std::vector<std::string> TarvoloProcess::LoggedCalls(const char* function) const {
  if (m_logPath.empty()) throw std::runtime_error("the program was started without a call log");
  std::vector<std::string> calls;
  UniqueFile log(std::fopen(m_logPath.c_str(), "rb"));
  if (!log) return calls;
  std::fseek(log.get(), m_logStart, SEEK_SET);
  const std::string prefix = std::string("Call ") + function + "(";
  char line[4096];
  while (std::fgets(line, sizeof line, log.get())) {
    const char* call = std::strstr(line, prefix.c_str());
    if (!call) continue;
    std::string arguments = call + prefix.size();
    calls.push_back(arguments.substr(0, arguments.find(')')));
  }
  return calls;
}

HWND TarvoloProcess::WaitForWindowCaptioned(const std::string& caption, int timeoutMs) const {
  HWND hWnd = nullptr;
  ::testing::AssertionResult came = WaitUntil(
      [&] {
        auto windows = WindowsCaptioned(caption);
        hWnd = windows.empty() ? nullptr : windows.front();
        return hWnd != nullptr;
      },
      timeoutMs);
  if (!came) {
    ADD_FAILURE() << "no window " << Readable(caption) << ": " << came.message();
    return nullptr;
  }
  Expect(hWnd);
  return hWnd;
}

::testing::AssertionResult TarvoloProcess::WaitForExit(int timeoutMs, DWORD* pExitCode) const {
  ::testing::AssertionResult ended = WaitUntil(
      [this] { return ::WaitForSingleObject(m_hProcess.get(), 0) == WAIT_OBJECT_0; }, timeoutMs);
  if (ended) ::GetExitCodeProcess(m_hProcess.get(), pExitCode);
  return ended;
}
