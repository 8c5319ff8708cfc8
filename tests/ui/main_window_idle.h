// The main window at rest, as the UI tests expect it between runs.
#ifndef TARVOLO_TESTS_UI_MAIN_WINDOW_IDLE_H
#define TARVOLO_TESTS_UI_MAIN_WINDOW_IDLE_H

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/support/tarvolo_process.h"

// Start reads "測定開始", and Start, Report and the limit list take input. On
// failure, says what the window showed.
inline ::testing::AssertionResult ShowsIdle(const TarvoloProcess& app) {
  const std::string start = app.Text(IDOK);
  const bool bStart = app.Enabled(IDOK);
  const bool bReport = app.Enabled(IDC_REPORT);
  const bool bLimit = app.Enabled(IDC_LIMIT);
  if (start == "測定開始" && bStart && bReport && bLimit) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "Start reads \"" << start << "\"; enabled: Start "
                                       << bStart << ", Report " << bReport << ", list " << bLimit;
}

#endif
