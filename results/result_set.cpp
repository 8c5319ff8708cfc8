#include "results/result_set.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string_view>
#include <utility>

namespace {

std::size_t HashOf(const EntryFields& fields) {
  std::size_t hash = 0;
  for (const std::string& text : fields.text) {
    hash = hash * 1000003 ^ std::hash<std::string_view>()(text);
  }
  return hash;
}

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

}  // namespace

void ResultSet::Add(CheckedEntry entry) {
  ++read;
  const std::size_t hash = HashOf(entry.fields);
  const auto [first, last] = seen.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    const EntryFields& other = kept[it->second].fields;
    if (std::equal(std::begin(other.text), std::end(other.text), std::begin(entry.fields.text))) {
      ++merged;
      return;
    }
  }
  seen.emplace(hash, kept.size());
  kept.push_back(std::move(entry));
}

std::size_t ResultSet::Flagged() const {
  return static_cast<std::size_t>(std::count_if(
      kept.begin(), kept.end(), [](const CheckedEntry& entry) { return entry.flags != 0; }));
}

std::vector<RankedRow> Ranking(const ResultSet& results, int limit) {
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
  std::vector<RankedRow> rows;
  rows.reserve(measured.size());
  for (std::size_t i = 0; i < measured.size(); ++i) {
    const bool tie = i > 0 && measured[i]->figures[limit].thousandths ==
                                  measured[i - 1]->figures[limit].thousandths;
    rows.push_back({measured[i], tie ? rows.back().rank : i + 1});
  }
  return rows;
}

std::vector<const CheckedEntry*> Unranked(const ResultSet& results) {
  std::vector<const CheckedEntry*> rows;
  for (const CheckedEntry& entry : results.kept) {
    if (!Measured(entry, 0) && !Measured(entry, 1)) rows.push_back(&entry);
  }
  std::sort(rows.begin(), rows.end(), FieldsBefore);
  return rows;
}
