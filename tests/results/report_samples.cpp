#include "report_samples.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <utility>

#include "report/report_entry.h"
#include "report/report_text.h"
#include "results/entries/text_entries.h"
#include "results/read/received_file.h"
#include "results/read/received_text.h"

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

void AppendEntry(const std::filesystem::path& file, const std::string& utf8Report) {
  const std::string report = ToShiftJis(utf8Report);
  ASSERT_LT(report.size(), static_cast<std::size_t>(kReportBytes));
  ASSERT_EQ(AppendReportEntry(file.c_str(), report.c_str()), EntryResult::kWritten) << file;
}

std::size_t AddReports(std::string_view bytes, ResultSet& results) {
  std::size_t found = 0;
  ReadEntries(ReceivedTextOf(bytes), [&](CheckedEntry entry) {
    ++found;
    results.Add(std::move(entry));
  });
  return found;
}

bool AddReceivedFile(const std::string& path, ResultSet& results, std::string& why) {
  const FileRead read = ReadReceivedFile(path, [&results](const ReceivedText& text) {
    ReadEntries(text, [&results](CheckedEntry entry) { results.Add(std::move(entry)); });
  });
  why = read.why;
  return read.read;
}
