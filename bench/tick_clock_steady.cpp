// Tick count for native builds: std::chrono::steady_clock.
#include "bench/tick_clock.h"

#include <chrono>

namespace {
const auto g_processStart = std::chrono::steady_clock::now();
}

int TickCount() {
  auto elapsed = std::chrono::steady_clock::now() - g_processStart;
  return CountsToTicks(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count(),
                       1000000000);
}
