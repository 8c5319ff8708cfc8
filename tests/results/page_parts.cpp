#include "page_parts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string_view>

#include "results/rank/ranking.h"
#include "results/site/csv_table.h"
#include "results/site/site_pages.h"

std::set<std::string> ElementsIn(const std::string& page) {
  std::set<std::string> names;
  for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
    std::size_t end = at + 1;
    while (end < page.size() && (std::isalnum(static_cast<unsigned char>(page[end])) ||
                                 page[end] == '!' || page[end] == '/')) {
      ++end;
    }
    names.insert(page.substr(at + 1, end - at - 1));
  }
  return names;
}

const std::set<std::string>& OwnElements() {
  static const std::set<std::string> own = {
      "!DOCTYPE", "html",   "/html", "head",   "/head", "meta",   "title", "/title",
      "style",    "/style", "body",  "/body",  "h1",    "/h1",    "h2",    "/h2",
      "p",        "/p",     "table", "/table", "thead", "/thead", "tbody", "/tbody",
      "tr",       "/tr",    "th",    "/th",    "td",    "/td",    "a",     "/a",
      "svg",      "/svg",   "rect",  "/rect",  "line",  "text",   "/text"};
  return own;
}

std::map<std::string, std::string> SiteFiles(const ResultSet& results) {
  const Rankings rankings = RankEntries(results);
  std::map<std::string, std::string> files;
  EXPECT_TRUE(WriteSitePages(results, rankings,
                             [&files](const std::string& name, const std::string& bytes) {
                               EXPECT_EQ(files.count(name), 0u) << name << " written twice";
                               files[name] = bytes;
                               return true;
                             }));
  std::string& table = files["results.csv"];
  EXPECT_TRUE(WriteCsvTable(rankings, [&table](std::string_view bytes) {
    table += bytes;
    return true;
  }));
  return files;
}

std::vector<std::vector<std::string>> TableCells(const std::string& page, std::size_t n) {
  std::size_t at = 0;
  for (std::size_t i = 0; i <= n && at != std::string::npos; ++i) {
    at = page.find("<tbody>", i == 0 ? 0 : at + 1);
  }
  std::vector<std::vector<std::string>> rows;
  if (at == std::string::npos) return rows;
  const std::size_t end = page.find("</tbody>", at);
  for (at = page.find("<tr", at); at < end; at = page.find("<tr", at + 1)) {
    const std::size_t rowEnd = page.find("</tr>", at);
    std::vector<std::string>& cells = rows.emplace_back();
    for (std::size_t cell = page.find("<td", at); cell < rowEnd;
         cell = page.find("<td", cell + 1)) {
      const std::size_t from = page.find('>', cell) + 1;
      cells.push_back(page.substr(from, page.find("</td>", from) - from));
    }
  }
  return rows;
}
