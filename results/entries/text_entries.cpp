#include "results/entries/text_entries.h"

#include <utility>
#include <vector>

#include "results/entries/entry_checks.h"
#include "results/entries/entry_fields.h"
#include "results/entries/entry_finder.h"
#include "results/entries/quoted_lines.h"
#include "results/entries/report_lines.h"

void ReadEntries(const ReceivedText& text, const std::function<void(CheckedEntry)>& each) {
  std::vector<TextLine> lines = SplitIntoLines(text.utf8);
  MarkQuotedLines(lines);
  for (const FoundEntry& entry : FindEntries(lines, text.utf8)) {
    const std::size_t from = static_cast<std::size_t>(entry.text.data() - text.utf8.data());
    unsigned flags = text.damaged ? unsigned{kDamagedMail} : 0u;
    if (HasUnreadable(text, from, from + entry.text.size())) flags |= kInvalidBytes;
    each(CheckEntry(ReadFields(lines.data() + entry.firstLine, entry.endLine - entry.firstLine),
                    flags));
  }
}
