// All entries read, the same entry received twice counted once, and the order
// in which the page ranks them.
#ifndef TARVOLO_RESULTS_RESULT_SET_H
#define TARVOLO_RESULTS_RESULT_SET_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "results/entry_checks.h"

struct ResultSet {
  std::vector<CheckedEntry> kept;
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

struct RankedRow {
  const CheckedEntry* entry;
  std::size_t rank;  // 1 for the fastest; equal times share a rank
};

// The entries measured at a limit (0: 10,000, 1: 100,000), fastest first; equal
// times in the order of their fields, so the same entries give the same order
// whatever order they were read in.
std::vector<RankedRow> Ranking(const ResultSet& results, int limit);

// The entries measured at neither limit, in the order of their fields.
std::vector<const CheckedEntry*> Unranked(const ResultSet& results);

#endif
