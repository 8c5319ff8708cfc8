#include "results/entries/quoted_lines.h"

#include <cstddef>

namespace {

constexpr std::string_view kQuoteMarks[] = {">", "\xEF\xBC\x9E" /* ＞ */, "|"};

// Words with which mail programs say who wrote the quote.
constexpr std::string_view kWroteWords[] = {"wrote", "writes", "書きました", "書いています"};

constexpr std::size_t kMaxAttributionBytes = 300;

bool EndsWithColon(std::string_view content) {
  constexpr std::string_view fullWidth = "\xEF\xBC\x9A";  // ：
  return (!content.empty() && content.back() == ':') ||
         (content.size() >= fullWidth.size() &&
          content.substr(content.size() - fullWidth.size()) == fullWidth);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "10:00" as in a date line.
bool HasTimeOfDay(std::string_view content) {
  for (std::size_t i = 1; i + 2 < content.size(); ++i) {
    if (content[i] == ':' && IsDigit(content[i - 1]) && IsDigit(content[i + 1]) &&
        IsDigit(content[i + 2])) {
      return true;
    }
  }
  return false;
}

// Ends with a colon and names a writer, an address or a time: a user's own line
// that merely ends with a colon stays the user's.
bool IsAttribution(std::string_view content) {
  if (content.size() > kMaxAttributionBytes || !EndsWithColon(content)) return false;
  for (std::string_view word : kWroteWords) {
    if (content.find(word) != std::string_view::npos) return true;
  }
  return content.find('@') != std::string_view::npos || HasTimeOfDay(content);
}

}  // namespace

bool IsQuoteLine(std::string_view line) {
  std::size_t blank = 0;
  while (StartsWithBlank(line, &blank)) line.remove_prefix(blank);
  for (std::string_view mark : kQuoteMarks) {
    if (line.substr(0, mark.size()) == mark) return true;
  }
  return false;
}

void MarkAttributionLines(std::vector<TextLine>& lines) {
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!lines[i].quoted || lines[i - 1].quoted) continue;
    // Gmail puts a blank line between the attribution and the quote.
    std::size_t above = i - 1;
    if (lines[above].content.empty() && above > 0) --above;
    if (!lines[above].quoted && IsAttribution(lines[above].content)) lines[above].quoted = true;
  }
}
