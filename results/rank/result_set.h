// All entries read, the same entry received twice counted once.
#ifndef TARVOLO_RESULTS_RANK_RESULT_SET_H
#define TARVOLO_RESULTS_RANK_RESULT_SET_H

#include <cstddef>
#include <deque>
#include <unordered_map>

#include "results/entries/entry.h"

struct ResultSet {
  // A deque: no copy of all entries each time it grows, and an entry stays
  // where it is, so the rankings can point at it.
  std::deque<CheckedEntry> kept;
  std::size_t read = 0;    // entries found
  std::size_t merged = 0;  // entries that repeated a kept one
  std::size_t files = 0;   // files read, as the caller counts them
  std::size_t mails = 0;   // mails read in them, as the caller counts them
  // Kept entries by a hash of their fields, to find a repeated one.
  std::unordered_multimap<std::size_t, std::size_t> seen;

  // Keeps the entry unless one with the same fields and figures is kept already.
  void Add(CheckedEntry entry);
  std::size_t Flagged() const;
};

#endif
