#include "results/entry_finder.h"

namespace {

bool IsMailLine(std::string_view content, const std::string& mailLine) {
  if (content.substr(0, mailLine.size()) != mailLine) return false;
  // The address may be followed by more words, not by more address.
  std::size_t blank = 0;
  return content.size() == mailLine.size() ||
         StartsWithBlank(content.substr(mailLine.size()), &blank);
}

}  // namespace

std::vector<FoundEntry> FindEntries(const std::vector<TextLine>& lines, std::string_view text,
                                    const ReportVocabulary& vocabulary) {
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
    const bool header = content == vocabulary.entryHeader;
    const bool mail = !header && IsMailLine(content, vocabulary.mailLine);
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
