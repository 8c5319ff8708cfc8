#include "tests/support/tarvolo_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "res/resource.h"

std::string BesideTestProgram(const char* fileName) {
  char path[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) throw std::runtime_error("GetModuleFileName failed");
  std::string result(path, length);
  result.erase(result.find_last_of("\\/") + 1);
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

std::string WindowText(HWND hWnd) {
  char text[8192] = "";
  DWORD_PTR length = 0;
  // With a deadline: a window whose thread is stuck would hold the test forever.
  if (!::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, 3000, &length) ||
      length >= sizeof text) {
    length = 0;
  }
  return std::string(text, static_cast<size_t>(length));
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
  std::wstring wide(text.size(), L'\0');
  int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  bool cut = wide.size() > maxChars;
  if (cut) wide.resize(maxChars);
  std::string utf8(wide.size() * 3, '\0');
  length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0],
                                 static_cast<int>(utf8.size()), nullptr, nullptr);
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

// A send under way on a thread of its own; whoever finishes last frees it.
struct PendingSend {
  std::function<LRESULT()> send;
  LRESULT result = 0;
  volatile LONG done = 0;
  volatile LONG owners = 2;
};

void Release(PendingSend* pending) {
  if (::InterlockedDecrement(&pending->owners) == 0) delete pending;
}

DWORD WINAPI RunSend(LPVOID parameter) {
  auto* pending = static_cast<PendingSend*>(parameter);
  pending->result = pending->send();
  ::InterlockedExchange(&pending->done, 1);
  Release(pending);
  return 0;
}

}  // namespace

TarvoloProcess::TarvoloProcess(bool logCalls, const char* exeName) {
  std::string exe = BesideTestProgram(exeName);
  STARTUPINFOA startup = {};
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

  std::string commandLine = "\"" + exe + "\"";
  PROCESS_INFORMATION process = {};
  BOOL created =
      ::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                       logCalls ? &environment[0] : nullptr, nullptr, &startup, &process);
  if (!created) throw std::runtime_error("cannot start " + exe);
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
  return Act([=] { return ::SendMessageA(hWnd, message, wParam, lParam); });
}

// The send waits on a thread of its own, so that this one can see a box that
// the handler opens while it waits.
LRESULT TarvoloProcess::Act(const std::function<LRESULT()>& send) const {
  auto* pending = new PendingSend{send};
  HANDLE hThread = ::CreateThread(nullptr, 0, RunSend, pending, 0, nullptr);
  if (!hThread) {
    delete pending;
    ADD_FAILURE() << "cannot start a thread to send from";
    return 0;
  }
  ::CloseHandle(hThread);
  LRESULT result = 0;
  ::testing::AssertionResult answered = WaitUntil([&] { return pending->done != 0; }, kAnswerMs);
  if (answered) {
    result = pending->result;
  } else {
    ADD_FAILURE() << "no answer to a message: " << answered.message();
  }
  Release(pending);
  return result;
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
  while (::SendMessageA(hList, CB_GETCURSEL, 0, 0) != index) {
    LRESULT current = ::SendMessageA(hList, CB_GETCURSEL, 0, 0);
    Send(hList, WM_KEYDOWN, current < index ? VK_DOWN : VK_UP);
    if (::SendMessageA(hList, CB_GETCURSEL, 0, 0) == current) break;  // the list did not move
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
