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

std::vector<std::string_view> FindEntries(std::string_view text,
                                          const ReportVocabulary& vocabulary) {
  std::vector<std::string_view> entries;
  const char* start = nullptr;   // of the entry being read
  bool onlyHeaderSoFar = false;  // its header seen, nothing but blank lines after it
  const char* const textEnd = text.data() + text.size();
  std::string_view rest = text;
  while (!rest.empty()) {
    const char* lineStart = rest.data();
    const std::string_view content = LineContent(TakeLine(rest));
    if (content.empty()) continue;
    const bool header = content == vocabulary.entryHeader;
    const bool mail = !header && IsMailLine(content, vocabulary.mailLine);
    if (mail && onlyHeaderSoFar) {
      onlyHeaderSoFar = false;
      continue;
    }
    onlyHeaderSoFar = header;
    if (!header && !mail) continue;
    if (start != nullptr) entries.emplace_back(start, static_cast<std::size_t>(lineStart - start));
    start = lineStart;
  }
  if (start != nullptr) entries.emplace_back(start, static_cast<std::size_t>(textEnd - start));
  return entries;
}
