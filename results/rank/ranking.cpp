#include "results/rank/ranking.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_set>

namespace {

// Ties in time are ordered by the fields, then by the figures' texts.
bool FieldsBefore(const CheckedEntry* a, const CheckedEntry* b) {
  static constexpr Field kOrder[] = {kName, kMachine, kCpu,       kClock,
                                     kOs,   kComment, kTime10000, kTime100000};
  for (Field field : kOrder) {
    const int c = a->fields.text[field].compare(b->fields.text[field]);
    if (c != 0) return c < 0;
  }
  return false;
}

bool Measured(const CheckedEntry& entry, int limit) {
  return entry.figures[limit].state == FigureState::kMeasured;
}

// Whose machine a report comes from: name, machine name and CPU as written
// (the reader has trimmed the blanks at their ends).
constexpr Field kMachineFields[] = {kName, kMachine, kCpu};

struct Machine {
  const CheckedEntry* entry;
  bool operator==(const Machine& other) const {
    for (Field field : kMachineFields) {
      if (entry->fields.text[field] != other.entry->fields.text[field]) return false;
    }
    return true;
  }
};

struct MachineHash {
  std::size_t operator()(const Machine& machine) const {
    std::size_t hash = 0;
    for (Field field : kMachineFields) {
      hash = hash * 1000003 ^ std::hash<std::string_view>()(machine.entry->fields.text[field]);
    }
    return hash;
  }
};

void RankLimit(const ResultSet& results, int limit, Rankings& rankings) {
  std::vector<const CheckedEntry*> measured;
  for (const CheckedEntry& entry : results.kept) {
    if (Measured(entry, limit)) measured.push_back(&entry);
  }
  std::sort(measured.begin(), measured.end(),
            [limit](const CheckedEntry* a, const CheckedEntry* b) {
              const std::uint64_t ta = a->figures[limit].thousandths;
              const std::uint64_t tb = b->figures[limit].thousandths;
              return ta != tb ? ta < tb : FieldsBefore(a, b);
            });
  std::vector<Standing>& reports = rankings.reports[limit];
  std::vector<Standing>& ranked = rankings.ranked[limit];
  reports.reserve(measured.size());
  // Fastest first, so a machine's first report is its best.
  std::unordered_set<Machine, MachineHash> seen(measured.size());
  for (const CheckedEntry* entry : measured) {
    Standing standing{entry, 0};
    if (seen.insert(Machine{entry}).second) {
      const bool tie = !ranked.empty() && ranked.back().entry->figures[limit].thousandths ==
                                              entry->figures[limit].thousandths;
      standing.rank = tie ? ranked.back().rank : ranked.size() + 1;
      ranked.push_back(standing);
    }
    reports.push_back(standing);
  }
}

}  // namespace

Rankings RankEntries(const ResultSet& results) {
  Rankings rankings;
  for (int limit = 0; limit < 2; ++limit) RankLimit(results, limit, rankings);
  for (const CheckedEntry& entry : results.kept) {
    if (!Measured(entry, 0) && !Measured(entry, 1)) rankings.unmeasured.push_back({&entry, 0});
  }
  std::sort(rankings.unmeasured.begin(), rankings.unmeasured.end(),
            [](const Standing& a, const Standing& b) { return FieldsBefore(a.entry, b.entry); });
  return rankings;
}
