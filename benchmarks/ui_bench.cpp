// Times the real Tarvolo.exe from outside, as a user meets it:
//   - from starting the program to its main window being visible, several times;
//   - how long the main window takes to answer a message sent from another
//     program (SendMessageTimeout with WM_NULL, every 10 ms) while runs at
//     100,000 are in progress.
// Prints one line per figure, "name value ...", for scripts/bench.sh; it judges
// nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tarvolo_process.h"

namespace {

const int kLaunches = 5;
const int kRuns = 3;                // runs at 100,000 while the window is asked
const int kIntervalMs = 10;         // one message every 10 ms
const UINT kReplyTimeoutMs = 5000;  // a message not answered by then counts as this
const int kRunTimeoutMs = 120000;

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
  if (::SendMessageA(tarvolo.Control(IDC_LIMIT), CB_GETCURSEL, 0, 0) != 1) {
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

}  // namespace

int main() {
  try {
    StartToWindow();
    return ReplyTimes();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ui_bench: %s\n", e.what());
    return 1;
  }
}
