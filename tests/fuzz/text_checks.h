// What every text the reader hands on must be, whatever it was read from.
#ifndef TARVOLO_TESTS_FUZZ_TEXT_CHECKS_H
#define TARVOLO_TESTS_FUZZ_TEXT_CHECKS_H

#include <algorithm>
#include <cstddef>

#include "fuzz_support.h"
#include "results/read/received_text.h"

// UTF-8 throughout, and each place of unreadable bytes, in order, on a U+FFFD.
inline void CheckReceivedText(const ReceivedText& text) {
  FUZZ_CHECK(IsUtf8(text.utf8));
  FUZZ_CHECK(std::is_sorted(text.unreadable.begin(), text.unreadable.end()));
  for (std::size_t at : text.unreadable) {
    FUZZ_CHECK(text.utf8.compare(at, 3, "\xEF\xBF\xBD") == 0);
  }
}

#endif
