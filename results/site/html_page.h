// The parts every page is made of: UTF-8, no script and no external file, and
// every field escaped, so a name like "<script>" shows as text.
#ifndef TARVOLO_RESULTS_SITE_HTML_PAGE_H
#define TARVOLO_RESULTS_SITE_HTML_PAGE_H

#include <string>
#include <string_view>

#include "results/site/table_rows.h"

// Appends text with & < > " ' as character references.
void AppendEscapedHtml(std::string& out, std::string_view text);

// From <!DOCTYPE html> to the page's <h1>, with its title (escaped) and the
// content security policy that allows nothing but the page's own style.
void AppendPageStart(std::string& out, std::string_view title);
void AppendPageEnd(std::string& out);

// A table with the columns the pages show.
void AppendTableStart(std::string& out);
void AppendTableRow(std::string& out, const TableRow& row);
void AppendTableEnd(std::string& out);

#endif
