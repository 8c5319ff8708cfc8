// A received file as tarvolo-results reads it, from the file to the pages: mail,
// mbox or text, every part, every entry found, checked, merged and ranked, and
// the pages and the table written in memory.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

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
  FUZZ_CHECK(results.read == results.kept.size() + results.merged);

  const Rankings rankings = RankEntries(results);
  std::size_t ranked = 0;
  for (int limit = 0; limit < 2; ++limit) ranked += rankings.ranked[limit].size();
  FUZZ_CHECK(ranked <= 2 * results.kept.size());
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
