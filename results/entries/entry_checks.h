// The checks each entry gets, shown on the page rather than hidden: are both
// figures "%3.3f" numbers, was a limit measured at all, is the pair plausible,
// were all its bytes readable.
#ifndef TARVOLO_RESULTS_ENTRIES_ENTRY_CHECKS_H
#define TARVOLO_RESULTS_ENTRIES_ENTRY_CHECKS_H

#include <string_view>

#include "results/entries/entry.h"

// A figure as the report writes it ("%3.3f"): at most 12 digits before the
// point (longer than any run could take), exactly three after it.
Figure ReadFigure(std::string_view text);

// flags are what its reader found (kInvalidBytes, kDamagedMail).
CheckedEntry CheckEntry(EntryFields fields, unsigned flags = 0);

#endif
