// Everything a run writes into the output folder: the pages, results.csv, and
// the removal of pages an earlier, longer run left.
#ifndef TARVOLO_RESULTS_SITE_RESULTS_SITE_H
#define TARVOLO_RESULTS_SITE_RESULTS_SITE_H

#include <string>
#include <string_view>

#include "results/rank/ranking.h"
#include "results/rank/result_set.h"

// A file the tool writes (a page or results.csv), by its name in the folder.
bool IsOwnFileName(std::string_view fileName);

// Writes into the folder, which must exist; false with the reason.
bool WriteResultsSite(const std::string& folder, const ResultSet& results, const Rankings& rankings,
                      std::string& why);

#endif
