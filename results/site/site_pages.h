// The pages a visitor reads: index.html with each limit's picture and fastest
// rows, and the whole of each list a page at a time (10000-1.html,
// 10000-2.html, ..., 100000-1.html, ..., unmeasured-1.html, ...).
#ifndef TARVOLO_RESULTS_SITE_SITE_PAGES_H
#define TARVOLO_RESULTS_SITE_SITE_PAGES_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "results/rank/ranking.h"
#include "results/rank/result_set.h"

constexpr std::size_t kRowsOnIndex = 100;  // per limit
constexpr std::size_t kRowsPerPage = 1000;
// Every page stays under a megabyte, so that a phone opens it: a page of long
// rows (fields full of characters that are escaped) holds fewer of them.
constexpr std::size_t kMostPageBytes = 1000000;

// index.html or the name of a page of a list ("10000-2.html").
bool IsPageName(std::string_view fileName);

// Receives each page as it is made; false stops the writing.
using PageOut = std::function<bool(const std::string& name, const std::string& bytes)>;

// Every list's pages, then index.html; false when out refused one.
bool WriteSitePages(const ResultSet& results, const Rankings& rankings, const PageOut& out);

#endif
