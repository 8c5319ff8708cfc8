// Reading an entry's fields by the labels of the report's own table of fields.
// Users edit the text freely: a missing or moved label leaves that field empty
// and never takes a neighbour's value.
#ifndef TARVOLO_RESULTS_ENTRIES_ENTRY_FIELDS_H
#define TARVOLO_RESULTS_ENTRIES_ENTRY_FIELDS_H

#include <cstddef>

#include "results/entries/entry.h"
#include "results/entries/report_lines.h"

// A field is the rest of the first line that starts with its label and a colon
// ("：" or ":", blanks allowed before it). The comment goes on over the lines
// after its own, less the lines read as other fields, to the end of the entry
// or what a mail program adds under a mail: a signature after "-- ", a phone's
// footer, a signature block at the end. lines are the entry's count lines. A
// longer field is cut at a character and ends in "…".
EntryFields ReadFields(const TextLine* lines, std::size_t count);

#endif
