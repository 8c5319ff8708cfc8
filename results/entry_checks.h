// The checks each entry gets, shown on the page rather than hidden: are both
// figures "%3.3f" numbers, was a limit measured at all, is the pair plausible,
// were all its bytes readable.
#ifndef TARVOLO_RESULTS_ENTRY_CHECKS_H
#define TARVOLO_RESULTS_ENTRY_CHECKS_H

#include <cstdint>
#include <string>
#include <string_view>

#include "results/entry_fields.h"

enum class FigureState {
  kMeasured,     // a time, in thousandths of a second
  kNotMeasured,  // "0.000": no run at that limit
  kUnreadable,   // missing, or not digits, a point and three digits
};

struct Figure {
  FigureState state = FigureState::kUnreadable;
  std::uint64_t thousandths = 0;
};

// A figure as the report writes it ("%3.3f"): at most 12 digits before the
// point (longer than any run could take), exactly three after it.
Figure ReadFigure(std::string_view text);

enum EntryFlag : unsigned {
  kFigureUnreadable = 1u << 0,
  kImplausible = 1u << 1,  // 100,000 below 20 times 10,000 (the work is 79 times larger)
  kInvalidBytes = 1u << 2,
  kDamagedMail = 1u << 3,  // the mail it came in was broken: only what could be read is read
};

struct CheckedEntry {
  EntryFields fields;
  Figure figures[2];  // 10,000 and 100,000
  unsigned flags = 0;
  std::string status;  // StatusText, formed once
};

// entryText is the entry as read, to find the U+FFFD that stands for bytes that
// could not be read; flags are what its reader found (kDamagedMail).
CheckedEntry CheckEntry(EntryFields fields, std::string_view entryText, unsigned flags = 0);

// What the page and the table show in the status column, in UTF-8.
std::string StatusText(const CheckedEntry& entry);

#endif
