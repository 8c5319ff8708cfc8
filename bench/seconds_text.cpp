#include "bench/seconds_text.h"

#include <cstdio>

SecondsText FormatSeconds(double seconds) {
  SecondsText result;
  std::snprintf(result.text, sizeof result.text, "%3.3f", seconds);
  return result;
}
