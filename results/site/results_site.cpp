#include "results/site/results_site.h"

#include <thread>

#include "results/site/csv_table.h"
#include "results/site/output_folder.h"
#include "results/site/site_pages.h"

namespace {

constexpr std::string_view kTableName = "results.csv";

}  // namespace

bool IsOwnFileName(std::string_view fileName) {
  return fileName == kTableName || IsPageName(fileName);
}

bool WriteResultsSite(const std::string& folder, const ResultSet& results, const Rankings& rankings,
                      std::string& why) {
  StagedFiles files(folder);
  // The table is written on a thread of its own while the pages are made.
  FolderFile& table = files.Begin(std::string(kTableName));
  std::thread tableWriter([&rankings, &table] {
    WriteCsvTable(rankings, [&table](std::string_view bytes) { return table.Write(bytes); });
  });
  const bool pages =
      WriteSitePages(results, rankings, [&](const std::string& name, const std::string& bytes) {
        FolderFile& page = files.Begin(name);
        page.Write(bytes);
        return page.Close(why);
      });
  tableWriter.join();
  if (!pages) return false;
  if (!table.Close(why) || !files.Publish(why)) return false;
  return RemoveLeftOvers(folder, IsPageName, files.names(), why);
}
