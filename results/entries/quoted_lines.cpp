#include "results/entries/quoted_lines.h"

#include <cstddef>

namespace {

constexpr std::string_view kQuoteMarks[] = {">", "\xEF\xBC\x9E" /* ＞ */, "|"};

// Words with which mail programs say who wrote the quote.
constexpr std::string_view kWroteWords[] = {"wrote", "writes", "書きました", "書いています"};

constexpr std::size_t kMaxAttributionBytes = 300;

// The head of the quoted mail as Outlook and Outlook Express put it above the
// quote, under "----- Original Message -----".
constexpr std::string_view kHeadFields[] = {"From", "To",       "Cc",      "CC",
                                            "Sent", "Date",     "Subject", "差出人",
                                            "宛先", "送信日時", "日時",    "件名"};
constexpr std::string_view kOriginalMessage[] = {"Original Message", "元のメッセージ"};

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

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// "From: ...", "件名：..." as a mail's head lists them; which field it is, or
// an empty view.
std::string_view HeadField(std::string_view content) {
  for (std::string_view field : kHeadFields) {
    if (!StartsWith(content, field)) continue;
    const std::string_view rest = content.substr(field.size());
    if (StartsWith(rest, ":") || StartsWith(rest, "\xEF\xBC\x9A")) return field;
  }
  return {};
}

bool IsOriginalMessageLine(std::string_view content) {
  if (!StartsWith(content, "-")) return false;
  for (std::string_view words : kOriginalMessage) {
    if (content.find(words) != std::string_view::npos) return true;
  }
  return false;
}

// Marks what introduces the quote that starts at line end: the quoted mail's
// head (with a sender) and the separator above it, or an attribution line with,
// as Becky! writes it, the date line "On Tue, 01 Dec 2026 10:00:00 +0900" above.
void MarkIntroduction(std::vector<TextLine>& lines, std::size_t end) {
  std::size_t first = end;
  bool sender = false;
  for (; first > 0 && !lines[first - 1].quoted; --first) {
    const std::string_view field = HeadField(lines[first - 1].content);
    if (field.empty()) break;
    sender = sender || field == "From" || field == "差出人";
  }
  if (sender) {
    if (first > 0 && IsOriginalMessageLine(lines[first - 1].content)) --first;
    for (std::size_t i = first; i < end; ++i) lines[i].quoted = true;
    return;
  }
  if (end == 0 || lines[end - 1].quoted || !IsAttribution(lines[end - 1].content)) return;
  lines[end - 1].quoted = true;
  if (end >= 2 && StartsWith(lines[end - 2].content, "On ") &&
      HasTimeOfDay(lines[end - 2].content)) {
    lines[end - 2].quoted = true;
  }
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

void MarkQuotedLines(std::vector<TextLine>& lines) {
  for (TextLine& line : lines) line.quoted = IsQuoteLine(line.content);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!lines[i].quoted || lines[i - 1].quoted) continue;
    // Gmail puts a blank line between the attribution and the quote.
    const bool blankBetween = lines[i - 1].content.empty();
    MarkIntroduction(lines, blankBetween ? i - 1 : i);
  }
}
