// A list of entries a page at a time (stem-1.html, stem-2.html, ...): at most
// kRowsPerPage rows a page, fewer when rows are long, each page linked to the
// first, the previous and the next, and back to index.html.
#ifndef TARVOLO_RESULTS_SITE_LIST_PAGES_H
#define TARVOLO_RESULTS_SITE_LIST_PAGES_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/rank/ranking.h"
#include "results/site/table_rows.h"

constexpr std::size_t kRowsPerPage = 1000;
// Every page stays under a megabyte, so that a phone opens it: a page of long
// rows (fields full of characters that are escaped) holds fewer of them.
constexpr std::size_t kMostPageBytes = 1000000;
// Room for a page's head, headings and links around its tables: they are a
// few kilobytes at the most.
constexpr std::size_t kFrameBytes = 16384;

// Receives each page as it is made; false stops the writing.
using PageOut = std::function<bool(const std::string& name, const std::string& bytes)>;

struct PagedList {
  std::string stem;   // ASCII, as the page names start
  std::string title;  // the heading, as text
  const std::vector<Standing>* rows;
  int limit;  // the rows' limit, or kNoLimit
  TableKind table;
  std::string note;   // HTML after each page's count of rows, or empty
  std::string links;  // HTML links (each followed by " | ") after the one back to index.html
};

// "stem-N.html"; N from 1.
std::string PageName(std::string_view stem, std::size_t number);

// Whether the name is one PageName gives for the stem.
bool IsPageOf(std::string_view fileName, std::string_view stem);

// Writes the list's pages (none for an empty list); pages is set to how many.
bool WritePagedList(const PagedList& list, const PageOut& out, std::size_t& pages);

// Appends rows from first on, at most count of them and while the table stays
// within bytes (one row at least); returns the index after the last appended.
std::size_t AppendRows(std::string& out, const std::vector<Standing>& rows, int limit,
                       TableKind table, std::size_t first, std::size_t count, std::size_t bytes);

// A link to a page of ours; text is HTML. Unlinked text when not linked.
void AppendLink(std::string& out, std::string_view target, std::string_view text, bool linked);

// "トップページ | links最初のページ | 前のページ | 次のページ" for page number
// of pages named by nameOf.
void AppendPageLinks(std::string& out, const std::function<std::string(std::size_t)>& nameOf,
                     std::string_view links, std::size_t number, bool last);

#endif
