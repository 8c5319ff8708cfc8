// A received file as tarvolo-results reads it, from the file to the pages: mail,
// mbox or text, every part, every entry found, checked, merged and ranked, and
// the pages and the table written in memory.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "results/entries/text_entries.h"
#include "results/rank/ranking.h"
#include "results/rank/result_set.h"
#include "results/read/received_file.h"
#include "results/site/csv_table.h"
#include "results/site/site_pages.h"
#include "text_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder;
  static const std::string path = (folder.path() / "received").string();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(file.good());
  }

  ResultSet results;
  const FileRead read = ReadReceivedFile(path, [&results](const ReceivedText& text) {
    CheckReceivedText(text);
    ReadEntries(text, [&results](CheckedEntry entry) { results.Add(std::move(entry)); });
  });
  FUZZ_CHECK(read.read);
  // A part that could not be taken is said, in printable words, and only a
  // mail has parts.
  for (const std::string& said : read.lostParts) {
    FUZZ_CHECK(!said.empty());
    for (char c : said) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  FUZZ_CHECK(read.lostParts.empty() || read.mails > 0);
  FUZZ_CHECK(results.read == results.kept.size() + results.merged);

  const Rankings rankings = RankEntries(results);
  std::size_t ranked = 0;
  for (int limit = 0; limit < 2; ++limit) ranked += rankings.ranked[limit].size();
  FUZZ_CHECK(ranked <= 2 * results.kept.size());
  // A time that fails its checks is never ranked, overall or by processor, and
  // every processor is in both orders once.
  for (int limit = 0; limit < 2; ++limit) {
    for (const Standing& standing : rankings.reports[limit]) {
      FUZZ_CHECK(!FailsTimeChecks(*standing.entry));
    }
    std::vector<bool> listed(rankings.processors.size(), false);
    for (std::size_t index : rankings.processorsByMedian[limit]) {
      FUZZ_CHECK(index < listed.size() && !listed[index]);
      listed[index] = true;
    }
    FUZZ_CHECK(rankings.processorsByMedian[limit].size() == listed.size());
    for (const Processor& processor : rankings.processors) {
      FUZZ_CHECK(processor.ranked[limit].size() <= processor.machines);
      for (const Standing& standing : processor.ranked[limit]) {
        FUZZ_CHECK(!FailsTimeChecks(*standing.entry));
      }
    }
  }
  FUZZ_CHECK(WriteSitePages(results, rankings, [](const std::string&, const std::string& page) {
    FUZZ_CHECK(IsUtf8(page));
    FUZZ_CHECK(page.size() < 1000000);
    return true;
  }));
  std::size_t tableBytes = 0;
  FUZZ_CHECK(WriteCsvTable(rankings, [&tableBytes](std::string_view piece) {
    FUZZ_CHECK(IsUtf8(piece));
    tableBytes += piece.size();
    return true;
  }));
  FUZZ_CHECK(tableBytes > 0);
  return 0;
}
