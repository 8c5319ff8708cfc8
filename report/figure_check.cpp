#include "report/figure_check.h"

#include <cstring>

#include "bench/seconds_text.h"

bool FiguresPresent(const char* szReport, float fTime10000, float fTime100000) {
  // The same writing as the report's own figures, so an untouched report passes.
  const SecondsText first = FormatSeconds(fTime10000);
  const SecondsText second = FormatSeconds(fTime100000);
  if (std::strstr(szReport, first.text) == nullptr) return false;
  return std::strstr(szReport, second.text) != nullptr;
}
