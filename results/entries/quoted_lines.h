// Quoted text in a reply: the lines a mail program marks as the earlier mail's,
// and the line above them that says whose they are. Someone's report quoted in
// a reply was read when it came; read again, it would count twice or lend its
// lines to the reply's own report.
#ifndef TARVOLO_RESULTS_ENTRIES_QUOTED_LINES_H
#define TARVOLO_RESULTS_ENTRIES_QUOTED_LINES_H

#include <string_view>
#include <vector>

#include "results/entries/report_lines.h"

// A line led (after blanks) by ">", the full-width "＞" or "|", at any depth.
bool IsQuoteLine(std::string_view line);

// Marks as quoted every quote line and what introduces each quote, with at most
// one blank line between: an attribution line ("On ... wrote:", "2026年12月1日(火)
// 10:00 山田 <...>:") or the quoted mail's head as Outlook gives it ("From: ...").
void MarkQuotedLines(std::vector<TextLine>& lines);

#endif
