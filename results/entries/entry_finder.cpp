#include "results/entries/entry_finder.h"

#include "report/report_fields.h"

namespace {

constexpr std::string_view kEntryHeader = kEntryHeaderLine;

bool IsMailLine(std::string_view content) {
  constexpr std::string_view mailLine = kReportMailLine;
  if (content.substr(0, mailLine.size()) != mailLine) return false;
  // The address may be followed by more words, not by more address.
  std::size_t blank = 0;
  return content.size() == mailLine.size() ||
         StartsWithBlank(content.substr(mailLine.size()), &blank);
}

}  // namespace

std::vector<FoundEntry> FindEntries(const std::vector<TextLine>& lines, std::string_view text) {
  std::vector<FoundEntry> entries;
  const auto close = [&](std::size_t first, std::size_t end) {
    const char* from = lines[first].start;
    const char* to = end < lines.size() ? lines[end].start : text.data() + text.size();
    entries.push_back({first, end, std::string_view(from, static_cast<std::size_t>(to - from))});
  };
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t first = kNone;     // of the entry being read
  bool onlyHeaderSoFar = false;  // its header seen, nothing but blank lines after it
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view content = lines[i].content;
    if (content.empty()) continue;
    if (lines[i].quoted) {
      // A reply's quote is neither a report nor a part of the report above it.
      if (first != kNone) close(first, i);
      first = kNone;
      onlyHeaderSoFar = false;
      continue;
    }
    const bool header = content == kEntryHeader;
    const bool mail = !header && IsMailLine(content);
    if (mail && onlyHeaderSoFar) {
      onlyHeaderSoFar = false;
      continue;
    }
    onlyHeaderSoFar = header;
    if (!header && !mail) continue;
    if (first != kNone) close(first, i);
    first = i;
  }
  if (first != kNone) close(first, lines.size());
  return entries;
}
