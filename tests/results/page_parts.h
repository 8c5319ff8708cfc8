// The results site as a test sees it: made in memory from the entries as the
// program makes it, and read back the way a browser's tokenizer would start.
#ifndef TARVOLO_TESTS_RESULTS_PAGE_PARTS_H
#define TARVOLO_TESTS_RESULTS_PAGE_PARTS_H

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "results/rank/result_set.h"

// The names of all elements that open or close in a page, as a browser's
// tokenizer would start them ("td", "/td", "!DOCTYPE"), and the pages' own.
std::set<std::string> ElementsIn(const std::string& page);
const std::set<std::string>& OwnElements();

// Every file a run writes (the pages and results.csv), by name, made in memory
// from the entries as the program makes them.
std::map<std::string, std::string> SiteFiles(const ResultSet& results);

// The cells of each body row of the page's n-th table (from 0), as written.
std::vector<std::vector<std::string>> TableCells(const std::string& page, std::size_t n);

#endif
