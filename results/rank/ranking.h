// The order in which the pages and the table rank the entries, sorted once.
#ifndef TARVOLO_RESULTS_RANK_RANKING_H
#define TARVOLO_RESULTS_RANK_RANKING_H

#include <cstddef>
#include <vector>

#include "results/entries/entry.h"
#include "results/rank/result_set.h"

// A report's place at a limit.
struct Standing {
  const CheckedEntry* entry;
  // 1 for the fastest, equal times sharing a rank; 0 when the same person's
  // machine ranks with a faster report at this limit.
  std::size_t rank;
};

struct Rankings {
  // Every report measured at the limit, fastest first; equal times in the order
  // of their fields, so the same entries give the same order whatever order
  // they were read in.
  std::vector<Standing> reports[2];
  // The ranked of them, in the same order: each person's machine (the same
  // name, machine name and CPU) once, at its best time.
  std::vector<Standing> ranked[2];
  // The entries measured at neither limit, in the order of their fields; no rank.
  std::vector<Standing> unmeasured;
};

Rankings RankEntries(const ResultSet& results);

#endif
