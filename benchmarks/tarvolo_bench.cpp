// Counts and times the shipped timed loop. Every figure it prints is one line,
// "name value ...", for scripts/bench.sh to collect; it judges nothing.
//
//   tarvolo_bench count                 divisions of the loop code at 10,000 and 100,000
//   tarvolo_bench measure LIMIT RUNS    CPrimeTimer::Measure(LIMIT), RUNS times
//   tarvolo_bench versus LIMIT ROUNDS   Measure against the reference loop, alternately
//   tarvolo_bench clock MILLISECONDS    smallest step of the tick count
//   tarvolo_bench reference LIMIT       the reference loop once (for callgrind)
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/division_count.h"
#include "bench/prime_search.h"
#include "bench/prime_timer.h"
#include "bench/tick_clock.h"
#include "benchmarks/reference_loop.h"

namespace {

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// One run of the shipped Measure: its own tick difference and the wall time
// around the call.
void RunShipped(int nLimit, int* pTicks, long long* pNs) {
  CPrimeTimer timer;
  long long start = NowNs();
  timer.Measure(nLimit);
  *pNs = NowNs() - start;
  *pTicks = ElapsedTicks(timer.m_start, timer.m_end);
}

long long RunReference(int nLimit) {
  long long start = NowNs();
  ReferenceSearch(nLimit);
  return NowNs() - start;
}

// A short run of both loops first, so that neither pays for a cold start.
void WarmUp() {
  int ticks = 0;
  long long ns = 0;
  RunShipped(10000, &ticks, &ns);
  RunReference(10000);
}

int Count() {
  const int limits[] = {10000, 100000};
  for (int nLimit : limits) {
    std::printf("divisions %d %lld\n", nLimit, DivisionsUpTo(nLimit));
  }
  return 0;
}

int MeasureRuns(int nLimit, int nRuns) {
  WarmUp();
  for (int run = 0; run < nRuns; ++run) {
    int ticks = 0;
    long long ns = 0;
    RunShipped(nLimit, &ticks, &ns);
    std::printf("shipped %d %lld\n", ticks, ns);
    std::fflush(stdout);
  }
  return 0;
}

// Rounds of one run each, the order turned round every other round (ABBA), so
// that a drift of the machine's speed weighs on both loops alike.
int Versus(int nLimit, int nRounds) {
  WarmUp();
  for (int round = 0; round < nRounds; ++round) {
    for (int k = 0; k < 2; ++k) {
      bool shipped = (k == 0) == (round % 2 == 0);
      if (shipped) {
        int ticks = 0;
        long long ns = 0;
        RunShipped(nLimit, &ticks, &ns);
        std::printf("shipped %d %lld\n", ticks, ns);
      } else {
        long long ns = RunReference(nLimit);
        std::printf("reference - %lld\n", ns);
      }
      std::fflush(stdout);
    }
  }
  return 0;
}

// Reads the tick count back to back for the given time and reports the
// smallest and largest non-zero step between two reads.
int ClockStep(int nMilliseconds) {
  int start = TickCount();
  int last = start;
  int smallest = INT_MAX;
  int largest = 0;
  long long reads = 0;
  long long changes = 0;
  while (ElapsedTicks(start, last) < nMilliseconds) {
    int now = TickCount();
    ++reads;
    if (now != last) {
      int step = ElapsedTicks(last, now);
      smallest = std::min(smallest, step);
      largest = std::max(largest, step);
      ++changes;
      last = now;
    }
  }
  std::printf("clock %d %d %lld %lld\n", smallest, largest, changes, reads);
  return 0;
}

bool ParsePositive(const char* text, int* pValue) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > INT_MAX) return false;
  *pValue = static_cast<int>(value);
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tarvolo_bench count | measure LIMIT RUNS | versus LIMIT ROUNDS | "
               "clock MILLISECONDS | reference LIMIT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "count") == 0) return Count();
  int first = 0;
  int second = 0;
  if (argc == 3 && std::strcmp(argv[1], "clock") == 0 && ParsePositive(argv[2], &first)) {
    return ClockStep(first);
  }
  if (argc == 3 && std::strcmp(argv[1], "reference") == 0 && ParsePositive(argv[2], &first)) {
    ReferenceSearch(first);
    return 0;
  }
  if (argc == 4 && ParsePositive(argv[2], &first) && ParsePositive(argv[3], &second)) {
    if (std::strcmp(argv[1], "measure") == 0) return MeasureRuns(first, second);
    if (std::strcmp(argv[1], "versus") == 0) return Versus(first, second);
  }
  return Usage();
}
