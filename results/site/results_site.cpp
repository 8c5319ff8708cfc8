#include "results/site/results_site.h"

#include <set>

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
  std::set<std::string> written;
  const bool pages =
      WriteSitePages(results, rankings, [&](const std::string& name, const std::string& bytes) {
        written.insert(name);
        return WriteIntoFolder(folder, name, bytes, why);
      });
  if (!pages) return false;
  FolderFile table(folder, std::string(kTableName));
  WriteCsvTable(rankings, [&table](std::string_view bytes) { return table.Write(bytes); });
  if (!table.Commit(why)) return false;
  written.insert(std::string(kTableName));
  return RemoveLeftOvers(folder, IsPageName, written, why);
}
