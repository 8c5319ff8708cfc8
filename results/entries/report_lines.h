// A received text as lines, and the line helpers every reading step shares. Each
// line is split off and reduced to its content once, then read from there.
#ifndef TARVOLO_RESULTS_ENTRIES_REPORT_LINES_H
#define TARVOLO_RESULTS_ENTRIES_REPORT_LINES_H

#include <cstddef>
#include <string_view>
#include <vector>

// Space, tab and the full-width space: what may stand between a label and its
// colon. Called for every line of every entry, hence inline.
inline bool StartsWithBlank(std::string_view text, std::size_t* length) {
  if (text.empty()) return false;
  if (text[0] == ' ' || text[0] == '\t') {
    *length = 1;
    return true;
  }
  if (text.size() >= 3 && text[0] == '\xE3' && text[1] == '\x80' && text[2] == '\x80') {
    *length = 3;
    return true;
  }
  return false;
}

std::string_view TrimBlanks(std::string_view text);

struct TextLine {
  const char* start;         // where the line begins in the text
  std::string_view content;  // without blanks at either end
  bool quoted;               // a reply's quote, or the line that introduces one
};

// Every line of text (which must outlive them), with its content; none yet
// marked as quoted (MarkQuotedLines does that).
std::vector<TextLine> SplitIntoLines(std::string_view text);

#endif
