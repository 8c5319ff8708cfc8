// index.html: one self-contained UTF-8 page, no script and no external file.
// Every field is escaped, so a name like "<script>" shows as text.
#ifndef TARVOLO_RESULTS_HTML_PAGE_H
#define TARVOLO_RESULTS_HTML_PAGE_H

#include <string>
#include <string_view>

#include "results/result_set.h"

// Appends text with & < > " ' as character references.
void AppendEscapedHtml(std::string& out, std::string_view text);

std::string HtmlPage(const ResultSet& results, const ReportVocabulary& vocabulary);

#endif
