// Tick count for Windows: QueryPerformanceCounter, which has sub-millisecond
// resolution on every Windows since XP and under Wine.
#include "bench/tick_clock.h"

#include <windows.h>

namespace {

std::int64_t Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::int64_t Frequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

const std::int64_t g_frequency = Frequency();
const std::int64_t g_processStart = Counter();

}  // namespace

int TickCount() {
  return CountsToTicks(Counter() - g_processStart, g_frequency);
}
