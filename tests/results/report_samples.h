// Received reports for the results tool's tests, made the way users make them:
// the program's own template and entry writer, the blanks filled in, the text
// then edited, pasted or re-encoded. Texts here are UTF-8; the report's own
// bytes are Shift_JIS.
#ifndef TARVOLO_TESTS_RESULTS_REPORT_SAMPLES_H
#define TARVOLO_TESTS_RESULTS_REPORT_SAMPLES_H

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "results/report_vocabulary.h"
#include "results/result_set.h"

// The answers a user writes after the colons (UTF-8); the comment may span lines.
struct Answers {
  std::string name, machine, cpu, clock, os, comment;
};
inline Answers NameOnly(const std::string& name) {
  return {name, "", "", "", "", ""};
}

// text converted between encodings by iconv; the test fails on a character the
// target cannot hold.
std::string Convert(const std::string& text, const char* from, const char* to);
inline std::string ToShiftJis(const std::string& utf8) {
  return Convert(utf8, "UTF-8", "CP932");
}

// The composed report (ComposeReport) with the answers filled in, in UTF-8 with
// the template's CR LF.
std::string FilledReport(float time10000, float time100000, const Answers& answers);

// The figure as the report writes it: "%3.3f".
std::string FigureText(float seconds);

// Appends the UTF-8 report as a Shift_JIS entry through AppendReportEntry.
void AppendEntry(const std::filesystem::path& file, const std::string& utf8Report);

// The names of all elements that open or close in a page, as a browser's
// tokenizer would start them ("td", "/td", "!DOCTYPE"), and the pages' own.
std::set<std::string> ElementsIn(const std::string& page);
const std::set<std::string>& OwnElements();

// Every file a run writes (the pages and results.csv), by name, made in memory
// from the entries as the program makes them.
std::map<std::string, std::string> SiteFiles(const ResultSet& results);

// The cells of each body row of the page's n-th table (from 0), as written.
std::vector<std::vector<std::string>> TableCells(const std::string& page, std::size_t n);

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// A fresh empty folder for one test, removed by the destructor.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const char* name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

#endif
