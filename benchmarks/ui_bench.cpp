// Times the real Tarvolo.exe from outside, as a user meets it:
//   - from starting the program to its main window being visible, several times;
//   - how long the main window takes to answer a message sent from another
//     program (SendMessageTimeout with WM_NULL, every 10 ms) while runs at
//     100,000 are in progress;
//   - a soak: a few hundred runs at 10,000 in one process, with its kernel
//     handles, GDI objects and resident bytes counted before and after.
// Prints one line per figure, "name value ...", for scripts/bench.sh; it judges
// nothing.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstddef>
#include <exception>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/tarvolo_process.h"
#include "tests/support/unique_handles.h"

namespace {

const int kLaunches = 5;
const int kRuns = 3;                // runs at 100,000 while the window is asked
const int kIntervalMs = 10;         // one message every 10 ms
const UINT kReplyTimeoutMs = 5000;  // a message not answered by then counts as this
const int kRunTimeoutMs = 120000;
const int kSoakWarmUpRuns = 20;  // first-time allocations are not growth
const int kSoakRuns = 300;

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Nearest-rank percentile of a sample.
double Percentile(std::vector<double> values, double percent) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t rank =
      static_cast<size_t>(percent / 100.0 * static_cast<double>(values.size()) + 0.999999);
  rank = std::min(std::max<size_t>(rank, 1), values.size());
  return values[rank - 1];
}

void StartToWindow() {
  for (int launch = 0; launch < kLaunches; ++launch) {
    double start = NowMs();
    TarvoloProcess tarvolo;  // starts the program and returns once its main window shows
    double shown = NowMs();
    std::printf("start_to_window %.1f\n", shown - start);
    std::fflush(stdout);
  }
}

// Asks the main window every kIntervalMs while one run lasts; returns false when
// the run did not start or did not end in time.
bool AskDuringRun(const TarvoloProcess& tarvolo, std::vector<double>* pReplies) {
  tarvolo.Click(IDOK);  // returns once the press is handled and the run has begun
  if (tarvolo.Enabled(IDOK)) return false;
  double runStart = NowMs();
  double next = runStart;
  while (!tarvolo.Enabled(IDOK)) {
    if (NowMs() - runStart > kRunTimeoutMs) return false;
    DWORD_PTR result = 0;
    double sent = NowMs();
    LRESULT answered = ::SendMessageTimeoutA(tarvolo.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL,
                                             kReplyTimeoutMs, &result);
    double replied = NowMs();
    pReplies->push_back(answered ? replied - sent : static_cast<double>(kReplyTimeoutMs));
    next += kIntervalMs;
    double wait = next - NowMs();
    if (wait > 0) ::Sleep(static_cast<DWORD>(wait));
  }
  std::printf("ui_run %.0f %s\n", NowMs() - runStart, tarvolo.Text(IDC_RESULT).c_str());
  std::fflush(stdout);
  return true;
}

int ReplyTimes() {
  TarvoloProcess tarvolo;
  tarvolo.ChooseLimit(1);  // 100,000
  if (tarvolo.Send(tarvolo.Control(IDC_LIMIT), CB_GETCURSEL) != 1) {
    std::fprintf(stderr, "ui_bench: could not choose 100,000\n");
    return 1;
  }
  std::vector<double> replies;
  for (int run = 0; run < kRuns; ++run) {
    if (!AskDuringRun(tarvolo, &replies)) {
      std::fprintf(stderr, "ui_bench: run %d did not start or end\n", run + 1);
      return 1;
    }
  }
  std::printf("ui_reply %zu %.2f %.2f %.2f\n", replies.size(), Percentile(replies, 50),
              Percentile(replies, 99), Percentile(replies, 100));
  return 0;
}

// Kernel handles the process holds, from the system's handle list (this Wine
// answers GetProcessHandleCount for other processes with 0).
long HandleCount(DWORD processId) {
  struct Entry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  const ULONG kSystemHandleInformation = 16;
  const NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
  std::vector<char> buffer(1 << 20);
  NTSTATUS status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         nullptr)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status < 0) return -1;
  ULONG count;
  std::memcpy(&count, buffer.data(), sizeof count);
  // The list: a ULONG count, then the entries at their natural alignment.
  const size_t first = alignof(Entry);
  long mine = 0;
  for (ULONG i = 0; i < count && first + (i + 1) * sizeof(Entry) <= buffer.size(); ++i) {
    Entry entry;
    std::memcpy(&entry, buffer.data() + first + i * sizeof(Entry), sizeof entry);
    if (entry.ownerPid == processId) ++mine;
  }
  return mine;
}

// GDI objects of the process, from its own GDI handle table, which its PEB
// points to (this Wine answers GetGuiResources for other processes with 0).
long GdiObjectCount(HANDLE hProcess) {
  struct HandleEntry {  // one slot of the table, as this Wine lays it out
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
  };
  const size_t kTableSlots = 0x10000;
  const size_t kPebGdiTable = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB::GdiSharedHandleTable
  PROCESS_BASIC_INFORMATION basic = {};
  if (::NtQueryInformationProcess(hProcess, ProcessBasicInformation, &basic, sizeof basic,
                                  nullptr) < 0) {
    return -1;
  }
  void* table = nullptr;
  if (!::ReadProcessMemory(hProcess, reinterpret_cast<char*>(basic.PebBaseAddress) + kPebGdiTable,
                           &table, sizeof table, nullptr) ||
      !table) {
    return -1;
  }
  std::vector<HandleEntry> slots(kTableSlots);
  if (!::ReadProcessMemory(hProcess, table, slots.data(), slots.size() * sizeof(HandleEntry),
                           nullptr)) {
    return -1;
  }
  long used = 0;
  for (const HandleEntry& slot : slots) used += slot.type != 0;
  return used;
}

struct ProcessCounts {
  long handles;
  long gdiObjects;
  long long workingSetBytes;
};

ProcessCounts CountsOf(const TarvoloProcess& tarvolo) {
  ProcessCounts counts{-1, -1, -1};
  UniqueHandle hProcess(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, tarvolo.ProcessId()));
  if (!hProcess) return counts;
  counts.handles = HandleCount(tarvolo.ProcessId());
  counts.gdiObjects = GdiObjectCount(hProcess.get());
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(hProcess.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
    counts.workingSetBytes = static_cast<long long>(memory.WorkingSetSize);
  }
  return counts;
}

bool RunOnce(const TarvoloProcess& tarvolo) {
  tarvolo.Click(IDOK);
  return static_cast<bool>(tarvolo.WaitForIdle(kRunTimeoutMs));
}

// Runs at 10,000 one after another in one process; prints the counts before
// (after a warm-up) and after.
int Soak() {
  TarvoloProcess tarvolo;
  for (int run = 0; run < kSoakWarmUpRuns; ++run) {
    if (!RunOnce(tarvolo)) return 1;
  }
  ProcessCounts before = CountsOf(tarvolo);
  int threadsBefore = tarvolo.ThreadCount();
  for (int run = 0; run < kSoakRuns; ++run) {
    if (!RunOnce(tarvolo)) {
      std::fprintf(stderr, "ui_bench: soak run %d did not end\n", run + 1);
      return 1;
    }
  }
  ::Sleep(200);  // the last worker ends after it has posted its result
  ProcessCounts after = CountsOf(tarvolo);
  std::printf("soak %d %ld %ld %ld %ld %lld %lld %d %d\n", kSoakRuns, before.handles, after.handles,
              before.gdiObjects, after.gdiObjects, before.workingSetBytes, after.workingSetBytes,
              threadsBefore, tarvolo.ThreadCount());
  return 0;
}

}  // namespace

int main() {
  try {
    StartToWindow();
    if (int status = ReplyTimes()) return status;
    return Soak();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ui_bench: %s\n", e.what());
    return 1;
  }
}
