// An entry as the entries stage hands it on: its fields as the user wrote them,
// its two figures as read, and what its checks found.
#ifndef TARVOLO_RESULTS_ENTRIES_ENTRY_H
#define TARVOLO_RESULTS_ENTRIES_ENTRY_H

#include <cstdint>
#include <string>

#include "report/report_fields.h"

// The two limits, in the order of an entry's figures: 0 is 10,000, 1 is 100,000.
struct Limit {
  const char* digits;  // "10000", as in a file name or a table cell
  const char* shown;   // "10,000", as a visitor reads it
  Field field;         // the report's field of its time
};
inline constexpr Limit kLimits[2] = {{"10000", "10,000", kTime10000},
                                     {"100000", "100,000", kTime100000}};

struct EntryFields {
  std::string text[kFieldCount];  // empty where the label is missing
};

enum class FigureState {
  kMeasured,     // a time, in thousandths of a second
  kNotMeasured,  // "0.000": no run at that limit
  kUnreadable,   // missing, or not digits, a point and three digits
};

struct Figure {
  FigureState state = FigureState::kUnreadable;
  std::uint64_t thousandths = 0;
};

enum EntryFlag : unsigned {
  kFigureUnreadable = 1u << 0,
  kImplausible = 1u << 1,  // 100,000 below 20 times 10,000 (the work is 79 times larger)
  kInvalidBytes = 1u << 2,
  kDamagedMail = 1u << 3,  // the mail it came in was broken: only what could be read is read
};

struct CheckedEntry {
  EntryFields fields;
  Figure figures[2];  // by limit
  unsigned flags = 0;
  std::string status;  // what the page and the table show, formed once
};

#endif
