#include "results/site/results_site.h"

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
  const bool pages =
      WriteSitePages(results, rankings, [&](const std::string& name, const std::string& bytes) {
        FolderFile& page = files.Begin(name);
        page.Write(bytes);
        return page.Close(why);
      });
  if (!pages) return false;
  FolderFile& table = files.Begin(std::string(kTableName));
  WriteCsvTable(rankings, [&table](std::string_view bytes) { return table.Write(bytes); });
  if (!table.Close(why) || !files.Publish(why)) return false;
  return RemoveLeftOvers(folder, IsPageName, files.names(), why);
}
