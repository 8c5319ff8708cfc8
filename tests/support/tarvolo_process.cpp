#include "tests/support/tarvolo_process.h"

#include <tlhelp32.h>

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

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (static_cast<int>(::GetTickCount() - start) > timeoutMs) return done();
    ::Sleep(5);
  }
}

std::string WindowText(HWND hWnd) {
  char text[8192] = "";
  LRESULT length = ::SendMessageA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  if (length < 0 || static_cast<size_t>(length) >= sizeof text) length = 0;
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

  WaitUntil(
      [this] {
        auto windows = WindowsCaptioned("Tarvolo");
        for (HWND hWnd : windows) {
          if (::GetDlgItem(hWnd, IDC_LIMIT)) m_hMain = hWnd;
        }
        return m_hMain != nullptr;
      },
      30000);
  if (!m_hMain) throw std::runtime_error("the main window did not appear");
  // Let start-up settle: a late event of the window's first showing would
  // otherwise undo what a test does to it at once (such as minimising it).
  ::WaitForInputIdle(m_hProcess.get(), 10000);
}

TarvoloProcess::~TarvoloProcess() {
  if (::WaitForSingleObject(m_hProcess.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(m_hProcess.get(), 99);
    ::WaitForSingleObject(m_hProcess.get(), 5000);
  }
}

void TarvoloProcess::Click(int nID) const {
  ::SendMessageA(Control(nID), BM_CLICK, 0, 0);
}

void TarvoloProcess::PostClick(int nID) const {
  ::PostMessageA(Control(nID), BM_CLICK, 0, 0);
}

void TarvoloProcess::ChooseLimit(int index) const {
  HWND hList = Control(IDC_LIMIT);
  while (::SendMessageA(hList, CB_GETCURSEL, 0, 0) != index) {
    LRESULT current = ::SendMessageA(hList, CB_GETCURSEL, 0, 0);
    ::SendMessageA(hList, WM_KEYDOWN, current < index ? VK_DOWN : VK_UP, 0);
    if (::SendMessageA(hList, CB_GETCURSEL, 0, 0) == current) break;  // the list did not move
  }
}

bool TarvoloProcess::WaitForIdle(int timeoutMs) const {
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
  WaitUntil(
      [&] {
        auto windows = WindowsCaptioned(caption);
        hWnd = windows.empty() ? nullptr : windows.front();
        return hWnd != nullptr;
      },
      timeoutMs);
  return hWnd;
}

bool TarvoloProcess::WaitForExit(int timeoutMs, DWORD* pExitCode) const {
  if (::WaitForSingleObject(m_hProcess.get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    return false;
  }
  ::GetExitCodeProcess(m_hProcess.get(), pExitCode);
  return true;
}
