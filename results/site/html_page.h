// The parts every page is made of: UTF-8, no script and no external file, and
// every field escaped, so a name like "<script>" shows as text.
#ifndef TARVOLO_RESULTS_SITE_HTML_PAGE_H
#define TARVOLO_RESULTS_SITE_HTML_PAGE_H

#include <initializer_list>
#include <string>
#include <string_view>

#include "results/site/table_rows.h"

// Appends text with & < > " ' as character references.
void AppendEscapedHtml(std::string& out, std::string_view text);

// From <!DOCTYPE html> to the page's <h1>, with its title (escaped) and the
// content security policy that allows nothing but the page's own style.
void AppendPageStart(std::string& out, std::string_view title);
void AppendPageEnd(std::string& out);

// A table of entries with the columns marked for it.
void AppendTableStart(std::string& out, TableKind table);
void AppendTableRow(std::string& out, const TableRow& row, TableKind table);
void AppendTableEnd(std::string& out);

// Any other table: its column titles, then its cells (a number right-aligned).
void AppendTableStart(std::string& out, std::initializer_list<std::string_view> titles);
void AppendCell(std::string& out, std::string_view text, bool number);

#endif
