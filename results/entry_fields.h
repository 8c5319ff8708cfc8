// Reading an entry's fields by their labels. Users edit the text freely: a
// missing or moved label leaves that field empty and never takes a neighbour's
// value.
#ifndef TARVOLO_RESULTS_ENTRY_FIELDS_H
#define TARVOLO_RESULTS_ENTRY_FIELDS_H

#include <string>
#include <string_view>

#include "results/report_lines.h"
#include "results/report_vocabulary.h"

// A longer field is cut (at a character) and ends in "…": a name is one line of
// a report of at most 4095 bytes, and nobody reads 10 MB in a table cell.
constexpr std::size_t kFieldBytes = 400;
constexpr std::size_t kCommentBytes = 6000;

struct EntryFields {
  std::string text[kFieldCount];  // empty where the label is missing
};

// A field is the rest of the first line that starts with its label and a colon
// ("：" or ":", blanks allowed before it). The comment goes on over the lines
// after its own, to the end of the entry or a mail's signature line "-- ",
// less the lines read as other fields. lines are the entry's count lines.
EntryFields ReadFields(const TextLine* lines, std::size_t count,
                       const ReportVocabulary& vocabulary);

// text cut to at most maxBytes bytes at a UTF-8 character boundary, "…" added.
std::string CutToBytes(std::string_view text, std::size_t maxBytes);

#endif
