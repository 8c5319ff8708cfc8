// The pages a visitor reads: index.html with each limit's picture and fastest
// rows, and the whole of each list a page at a time (10000-1.html,
// 10000-2.html, ..., 100000-1.html, ..., unmeasured-1.html, ...).
#ifndef TARVOLO_RESULTS_SITE_PAGES_H
#define TARVOLO_RESULTS_SITE_PAGES_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "results/result_set.h"

constexpr std::size_t kRowsOnIndex = 100;  // per limit
constexpr std::size_t kRowsPerPage = 1000;
// Every page stays under a megabyte, so that a phone opens it: a page of long
// rows (fields full of characters that are escaped) holds fewer of them.
constexpr std::size_t kMostPageBytes = 1000000;

// A page's file name in the output folder: list 0 and 1 are the rankings at
// 10,000 and 100,000, list 2 the entries measured at neither; number from 1.
std::string ListPageName(int list, std::size_t number);

// index.html or a name ListPageName gives.
bool IsPageName(std::string_view fileName);

// Receives each page as it is made; false stops the writing.
using PageOut = std::function<bool(const std::string& name, const std::string& bytes)>;

// Every list's pages, then index.html; false when out refused one.
bool WriteSitePages(const ResultSet& results, const Rankings& rankings,
                    const ReportVocabulary& vocabulary, const PageOut& out);

#endif
