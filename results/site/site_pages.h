// The pages a visitor reads: index.html with the summary, the fastest
// processors and each limit's picture and fastest rows, and the whole of each
// list a page at a time (10000-1.html, ..., 100000-1.html, ...,
// unmeasured-1.html, ..., check-1.html, ... for the entries to check), and the
// processors' pages.
#ifndef TARVOLO_RESULTS_SITE_SITE_PAGES_H
#define TARVOLO_RESULTS_SITE_SITE_PAGES_H

#include <cstddef>
#include <string_view>

#include "results/rank/ranking.h"
#include "results/rank/result_set.h"
#include "results/site/list_pages.h"

constexpr std::size_t kRowsOnIndex = 100;  // per limit

// index.html or the name of any other page the site has.
bool IsPageName(std::string_view fileName);

// Every list's pages and the processors' pages (two at a time, on two
// threads, each handed to out alone), then index.html; false when out refused
// one.
bool WriteSitePages(const ResultSet& results, const Rankings& rankings, const PageOut& out);

#endif
