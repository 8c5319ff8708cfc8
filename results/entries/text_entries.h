// A received text to its checked entries.
#ifndef TARVOLO_RESULTS_ENTRIES_TEXT_ENTRIES_H
#define TARVOLO_RESULTS_ENTRIES_TEXT_ENTRIES_H

#include <functional>

#include "results/entries/entry.h"
#include "results/read/received_text.h"

// Finds every entry in the text, reads and checks its fields, and calls each
// with it. An entry is flagged when bytes of it could not be read, and every
// entry of a broken mail's text.
void ReadEntries(const ReceivedText& text, const std::function<void(CheckedEntry)>& each);

#endif
