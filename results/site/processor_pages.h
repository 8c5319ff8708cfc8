// The processors compared: processors.html lists every processor with the
// number of its machines and, at each limit, the best time and the median of
// its machines' best times, in one table by the median at 100,000 and one by
// the median at 10,000 (processors-2.html, ... go on with both should they not
// fit on one page). Each processor's machines are ranked on pages of their own
// (cpu-ID-10000-1.html, ..., cpu-ID-100000-1.html, ...), ID a hash of its
// folded name, so that its pages keep their names from one run to the next.
#ifndef TARVOLO_RESULTS_SITE_PROCESSOR_PAGES_H
#define TARVOLO_RESULTS_SITE_PROCESSOR_PAGES_H

#include <string>
#include <string_view>
#include <vector>

#include "results/rank/ranking.h"
#include "results/site/list_pages.h"

constexpr std::size_t kProcessorsOnIndex = 10;
constexpr std::string_view kProcessorsPage = "processors.html";

class ProcessorPages {
 public:
  explicit ProcessorPages(const Rankings& rankings);

  // Every processor's pages, then processors.html and what follows it.
  bool Write(const PageOut& out) const;

  // The ten processors fastest by their median at 100,000, for index.html.
  void AppendFastest(std::string& page) const;

  // processors.html, processors-N.html or a processor's page.
  static bool IsPageName(std::string_view fileName);

 private:
  // The stem of a processor's pages at a limit: "cpu-ID-10000".
  std::string StemOf(std::size_t processor, int limit) const;
  // Its first page: at the limit, or at the other when it has none there.
  std::string LinkOf(std::size_t processor, int limit) const;
  void AppendTableRows(std::string& out, int limit, std::size_t first, std::size_t count,
                       std::size_t bytes, std::size_t& next) const;

  const Rankings& rankings_;
  std::vector<std::string> ids_;  // by processor
};

#endif
