#include "results/rank/ranking.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "results/rank/text_folding.h"

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

// Whose machine a report comes from: name, machine name and CPU, folded.
struct MachineKey {
  std::string name, machine, cpu;
  bool operator==(const MachineKey& other) const {
    return name == other.name && machine == other.machine && cpu == other.cpu;
  }
};

struct MachineKeyHash {
  std::size_t operator()(const MachineKey& key) const {
    const std::hash<std::string> hash;
    return (hash(key.name) * 1000003 ^ hash(key.machine)) * 1000003 ^ hash(key.cpu);
  }
};

constexpr std::size_t kNoProcessor = static_cast<std::size_t>(-1);

// A report that ranks at a limit at least, with the numbers of its machine and
// its processor (in the order they were met).
struct Candidate {
  const CheckedEntry* entry;
  std::size_t machine;
  std::size_t processor;
};

// Numbers the machines and the processors as the reports name them.
class Machines {
 public:
  Candidate CandidateOf(const CheckedEntry& entry, std::vector<Processor>& processors) {
    MachineKey key{Folded(entry.fields.text[kName]), Folded(entry.fields.text[kMachine]),
                   Folded(entry.fields.text[kCpu])};
    std::size_t processor = kNoProcessor;
    if (!key.cpu.empty()) {
      const auto [place, added] = processorNumbers_.emplace(key.cpu, processors.size());
      if (added) processors.emplace_back().key = key.cpu;
      processor = place->second;
    }
    const auto [place, added] = machineNumbers_.emplace(std::move(key), counted_.size());
    if (added) counted_.push_back(false);
    return {&entry, place->second, processor};
  }

  // True the first time a machine is counted.
  bool Count(std::size_t machine) {
    if (counted_[machine]) return false;
    counted_[machine] = true;
    return true;
  }
  std::size_t size() const { return counted_.size(); }

 private:
  // The same texts come again and again (a person's reports, a processor's
  // machines): each is folded once. The entries outlive the ranking.
  const std::string& Folded(const std::string& text) {
    auto place = folded_.find(text);
    if (place == folded_.end()) place = folded_.emplace(text, FoldForComparison(text)).first;
    return place->second;
  }

  std::unordered_map<std::string_view, std::string> folded_;
  std::unordered_map<MachineKey, std::size_t, MachineKeyHash> machineNumbers_;
  std::unordered_map<std::string, std::size_t> processorNumbers_;
  std::vector<bool> counted_;  // by machine
};

// Appends a standing to a ranking whose rows are fastest first: equal times
// share a rank, the next rank counts the rows before it.
void AppendRanked(std::vector<Standing>& ranked, const CheckedEntry* entry, int limit) {
  const bool tie = !ranked.empty() && ranked.back().entry->figures[limit].thousandths ==
                                          entry->figures[limit].thousandths;
  ranked.push_back({entry, tie ? ranked.back().rank : ranked.size() + 1});
}

void RankLimit(const std::vector<Candidate>& candidates, int limit, Machines& machines,
               Rankings& rankings) {
  std::vector<const Candidate*> measured;
  for (const Candidate& candidate : candidates) {
    if (Measured(*candidate.entry, limit)) measured.push_back(&candidate);
  }
  std::sort(measured.begin(), measured.end(), [limit](const Candidate* a, const Candidate* b) {
    const std::uint64_t ta = a->entry->figures[limit].thousandths;
    const std::uint64_t tb = b->entry->figures[limit].thousandths;
    return ta != tb ? ta < tb : FieldsBefore(a->entry, b->entry);
  });
  std::vector<Standing>& reports = rankings.reports[limit];
  std::vector<Standing>& ranked = rankings.ranked[limit];
  reports.reserve(measured.size());
  // Fastest first, so a machine's first report is its best.
  std::vector<bool> seen(machines.size(), false);
  for (const Candidate* candidate : measured) {
    if (seen[candidate->machine]) {
      reports.push_back({candidate->entry, 0});
      continue;
    }
    seen[candidate->machine] = true;
    AppendRanked(ranked, candidate->entry, limit);
    reports.push_back(ranked.back());
    if (candidate->processor == kNoProcessor) continue;
    Processor& processor = rankings.processors[candidate->processor];
    AppendRanked(processor.ranked[limit], candidate->entry, limit);
    if (machines.Count(candidate->machine)) ++processor.machines;
  }
}

// The spelling most of each processor's reports have; of those as many, the
// first in byte order.
void ChooseSpellings(const std::vector<Candidate>& candidates, std::vector<Processor>& processors) {
  std::vector<std::map<std::string_view, std::size_t>> spellings(processors.size());
  for (const Candidate& candidate : candidates) {
    if (candidate.processor != kNoProcessor) {
      ++spellings[candidate.processor][candidate.entry->fields.text[kCpu]];
    }
  }
  for (std::size_t i = 0; i < processors.size(); ++i) {
    std::size_t most = 0;
    for (const auto& [spelling, count] : spellings[i]) {
      if (count > most) {
        most = count;
        processors[i].shown = spelling;
      }
    }
  }
}

std::uint64_t MedianOf(const std::vector<Standing>& ranked, int limit) {
  if (ranked.empty()) return 0;
  const std::size_t middle = ranked.size() / 2;
  const std::uint64_t upper = ranked[middle].entry->figures[limit].thousandths;
  if (ranked.size() % 2 == 1) return upper;
  const std::uint64_t lower = ranked[middle - 1].entry->figures[limit].thousandths;
  return lower + (upper - lower + 1) / 2;
}

void OrderProcessors(Rankings& rankings) {
  std::vector<Processor>& processors = rankings.processors;
  std::sort(processors.begin(), processors.end(),
            [](const Processor& a, const Processor& b) { return a.key < b.key; });
  for (int limit = 0; limit < 2; ++limit) {
    for (Processor& processor : processors) {
      processor.median[limit] = MedianOf(processor.ranked[limit], limit);
    }
    std::vector<std::size_t>& order = rankings.processorsByMedian[limit];
    order.resize(processors.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Stable: the keys' order stands among equals and among those without a median.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const Processor& pa = processors[a];
      const Processor& pb = processors[b];
      if (pa.ranked[limit].empty() || pb.ranked[limit].empty()) {
        return !pa.ranked[limit].empty() && pb.ranked[limit].empty();
      }
      if (pa.median[limit] != pb.median[limit]) return pa.median[limit] < pb.median[limit];
      return pa.ranked[limit][0].entry->figures[limit].thousandths <
             pb.ranked[limit][0].entry->figures[limit].thousandths;
    });
  }
}

}  // namespace

Rankings RankEntries(const ResultSet& results) {
  Rankings rankings;
  Machines machines;
  std::vector<Candidate> candidates;
  for (const CheckedEntry& entry : results.kept) {
    if (FailsTimeChecks(entry)) {
      rankings.toCheck.push_back({&entry, 0});
    } else if (!Measured(entry, 0) && !Measured(entry, 1)) {
      rankings.unmeasured.push_back({&entry, 0});
    } else {
      candidates.push_back(machines.CandidateOf(entry, rankings.processors));
    }
  }
  for (int limit = 0; limit < 2; ++limit) RankLimit(candidates, limit, machines, rankings);
  ChooseSpellings(candidates, rankings.processors);
  OrderProcessors(rankings);
  for (std::vector<Standing>* list : {&rankings.unmeasured, &rankings.toCheck}) {
    std::sort(list->begin(), list->end(),
              [](const Standing& a, const Standing& b) { return FieldsBefore(a.entry, b.entry); });
  }
  return rankings;
}
