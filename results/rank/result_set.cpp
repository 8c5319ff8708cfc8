#include "results/rank/result_set.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
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
