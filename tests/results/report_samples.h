// Received reports for the results tool's tests, made the way users make them:
// the program's own template and entry writer, the blanks filled in, the text
// then edited, pasted or re-encoded. Texts here are UTF-8; the report's own
// bytes are Shift_JIS. And what the tool does with them, entry by entry.
#ifndef TARVOLO_TESTS_RESULTS_REPORT_SAMPLES_H
#define TARVOLO_TESTS_RESULTS_REPORT_SAMPLES_H

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "results/rank/result_set.h"

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

// What the tool does with a received text: every entry found goes into the
// set. Returns the number of entries found.
std::size_t AddReports(std::string_view bytes, ResultSet& results);

// The same for a received file, read as the tool reads it; false, with the
// reason, when it cannot be read.
bool AddReceivedFile(const std::string& path, ResultSet& results, std::string& why);

#endif
