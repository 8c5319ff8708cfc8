#include "report_samples.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "report/report_entry.h"
#include "report/report_text.h"
#include "results/csv_table.h"
#include "results/site_pages.h"

namespace fs = std::filesystem;

std::string Convert(const std::string& text, const char* from, const char* to) {
  iconv_t converter = iconv_open(to, from);
  EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1)) << from << " -> " << to;
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* o = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &o, &outLeft);
  EXPECT_NE(result, static_cast<std::size_t>(-1)) << "cannot convert: " << text;
  iconv(converter, nullptr, nullptr, &o, &outLeft);  // back to ASCII in ISO-2022-JP
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}

std::string FilledReport(float time10000, float time100000, const Answers& answers) {
  char composed[kReportBytes];
  ComposeReport(time10000, time100000, composed);
  std::string text = Convert(composed, "CP932", "UTF-8");
  // The blank fields are the lines that end right after their colon, in order.
  const std::string* const values[] = {&answers.name,  &answers.machine, &answers.cpu,
                                       &answers.clock, &answers.os,      &answers.comment};
  std::size_t at = 0;
  for (const std::string* value : values) {
    at = text.find("：\r\n", at);
    if (at == std::string::npos) {
      ADD_FAILURE() << "the template has fewer blank fields than expected";
      break;
    }
    at += std::string("：").size();
    text.insert(at, *value);
    at += value->size();
  }
  return text;
}

std::string FigureText(float seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%3.3f", static_cast<double>(seconds));
  return text;
}

void AppendEntry(const fs::path& file, const std::string& utf8Report) {
  const std::string report = ToShiftJis(utf8Report);
  ASSERT_LT(report.size(), static_cast<std::size_t>(kReportBytes));
  ASSERT_EQ(AppendReportEntry(file.c_str(), report.c_str()), EntryResult::kWritten) << file;
}

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
  EXPECT_TRUE(WriteSitePages(results, rankings, TheReportVocabulary(),
                             [&files](const std::string& name, const std::string& bytes) {
                               EXPECT_EQ(files.count(name), 0u) << name << " written twice";
                               files[name] = bytes;
                               return true;
                             }));
  std::string& table = files["results.csv"];
  EXPECT_TRUE(WriteCsvTable(rankings, TheReportVocabulary(), [&table](std::string_view bytes) {
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

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << file;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << file;
}

ScratchFolder::ScratchFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("tarvolo-results-" + std::string(info->name()) + "-" + std::to_string(stamp));
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}
