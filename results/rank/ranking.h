// The order in which the pages and the table rank the entries, and the
// processors compared, sorted once.
#ifndef TARVOLO_RESULTS_RANK_RANKING_H
#define TARVOLO_RESULTS_RANK_RANKING_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/entries/entry.h"
#include "results/rank/result_set.h"

// What the checks of its times found makes an entry's times unfit to rank: a
// figure that is no "%3.3f" number, or a pair no run could give. The other
// flags (unreadable bytes, a damaged mail) say nothing against its times.
constexpr unsigned kTimeChecks = kFigureUnreadable | kImplausible;
inline bool FailsTimeChecks(const CheckedEntry& entry) {
  return (entry.flags & kTimeChecks) != 0;
}

// A report's place at a limit.
struct Standing {
  const CheckedEntry* entry;
  // 1 for the fastest, equal times sharing a rank; 0 when the same person's
  // machine ranks with a faster report at this limit.
  std::size_t rank;
};

// The machines of one processor: those whose CPU folds to the same text.
struct Processor {
  std::string key;           // the CPU folded (FoldForComparison), never shown
  std::string_view shown;    // the spelling most of its reports have, as typed
  std::size_t machines = 0;  // ranked at either limit
  // Its machines at their best, fastest first, ranked among themselves.
  std::vector<Standing> ranked[2];
  // The median of those times (the mean of the middle two, rounded up to the
  // thousandth, for an even count); 0 with no machine at the limit.
  std::uint64_t median[2] = {};
};

struct Rankings {
  // Every report measured at the limit, fastest first; equal times in the order
  // of their fields, so the same entries give the same order whatever order
  // they were read in. Entries that fail the time checks are never here.
  std::vector<Standing> reports[2];
  // The ranked of them, in the same order: each person's machine (the same
  // name, machine name and CPU, folded) once, at its best time.
  std::vector<Standing> ranked[2];
  // The entries measured at neither limit, in the order of their fields; no rank.
  std::vector<Standing> unmeasured;
  // The entries whose times fail the checks ("要確認"), in the order of their
  // fields; no rank.
  std::vector<Standing> toCheck;
  // Every processor with a ranked machine, in the order of their keys; an
  // empty CPU is none.
  std::vector<Processor> processors;
  // The processors by their median at each limit, fastest first (ties by the
  // best time, then the key); those without a machine at the limit last, in
  // the order of their keys. Indexes into processors.
  std::vector<std::size_t> processorsByMedian[2];
};

Rankings RankEntries(const ResultSet& results);

#endif
