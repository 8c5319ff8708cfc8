#include "results/result_set.h"

#include <algorithm>
#include <utility>

namespace {

// Fields cannot hold control characters (they were read as U+FFFD), so a unit
// separator keeps "ab"+"c" apart from "a"+"bc".
std::string KeyOf(const EntryFields& fields) {
  std::string key;
  for (const std::string& text : fields.text) {
    key += text;
    key += '\x1F';
  }
  return key;
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
  if (!seen.insert(KeyOf(entry.fields)).second) {
    ++merged;
    return;
  }
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
