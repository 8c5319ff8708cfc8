#include "results/entries/report_lines.h"

#include "results/read/text_lines.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

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
    const std::string_view line = TakeLine(text);
    lines.push_back({start, TrimBlanks(line), false});
  }
  return lines;
}
