#include "results/entries/report_lines.h"

#include "results/read/text_lines.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

// A line as a label or marker is looked for in it: without the "> " quoting of a
// mail reply and without blanks at either end.
std::string_view LineContent(std::string_view line) {
  std::size_t length = 0;
  for (;;) {
    if (!line.empty() && line[0] == '>') {
      line.remove_prefix(1);
    } else if (StartsWithBlank(line, &length)) {
      line.remove_prefix(length);
    } else {
      break;
    }
  }
  return TrimBlanks(line);
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  std::size_t length = 0;
  while (StartsWithBlank(text, &length)) text.remove_prefix(length);
  for (;;) {
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
      text.remove_suffix(1);
    } else if (text.size() >= kFullWidthSpace.size() &&
               text.substr(text.size() - kFullWidthSpace.size()) == kFullWidthSpace) {
      text.remove_suffix(kFullWidthSpace.size());
    } else {
      return text;
    }
  }
}

std::vector<TextLine> SplitIntoLines(std::string_view text) {
  std::vector<TextLine> lines;
  while (!text.empty()) {
    const char* start = text.data();
    lines.push_back({start, LineContent(TakeLine(text))});
  }
  return lines;
}
