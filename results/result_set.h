// All entries read, the same entry received twice counted once, and the order
// in which the pages and the table rank them.
#ifndef TARVOLO_RESULTS_RESULT_SET_H
#define TARVOLO_RESULTS_RESULT_SET_H

#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "results/entry_checks.h"

struct ResultSet {
  // A deque: no copy of all entries each time it grows, and an entry stays
  // where it is, so the rankings can point at it.
  std::deque<CheckedEntry> kept;
  std::size_t read = 0;    // entries found
  std::size_t merged = 0;  // entries that repeated a kept one
  std::size_t files = 0;   // files read
  std::size_t mails = 0;   // mails read in them
  // Kept entries by a hash of their fields, to find a repeated one.
  std::unordered_multimap<std::size_t, std::size_t> seen;

  // Keeps the entry unless one with the same fields and figures is kept already.
  void Add(CheckedEntry entry);
  std::size_t Flagged() const;
};

// A report's place at a limit (0: 10,000, 1: 100,000).
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

// Sorted once here, for every page and the table.
Rankings RankEntries(const ResultSet& results);

#endif
