// The program's own report code on any input: the figure check on any text and
// any two times, the report composed from them, and the entry writer appending
// the text to a file. The first eight bytes are the two times, the rest the text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_support.h"
#include "report/figure_check.h"
#include "report/report_entry.h"
#include "report/report_text.h"

namespace {

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 * sizeof(float)) return 0;
  float times[2];
  std::memcpy(times, data, sizeof times);
  // The text as the edit box gives it: zero-terminated, a zero inside ends it.
  const std::string given(reinterpret_cast<const char*>(data) + sizeof times, size - sizeof times);
  const std::string text = given.c_str();

  // The composed report holds both figures, and so does any text it is added
  // to; more text never takes a figure away.
  char report[kReportBytes];
  ComposeReport(times[0], times[1], report);
  FUZZ_CHECK(strnlen(report, sizeof report) < sizeof report);
  FUZZ_CHECK(FiguresPresent(report, times[0], times[1]));
  FUZZ_CHECK(FiguresPresent((text + report).c_str(), times[0], times[1]));
  if (FiguresPresent(text.c_str(), times[0], times[1])) {
    FUZZ_CHECK(FiguresPresent((report + text).c_str(), times[0], times[1]));
  }

  // The entry goes into exactly the file named, after what it held, and only
  // a text that fits the report is written at all.
  static const ScratchFolder folder;
  const std::filesystem::path file = folder.path() / "report.txt";
  const std::string earlier = "earlier entries\r\n";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << earlier;
    FUZZ_CHECK(out.good());
  }
  const EntryResult result = AppendReportEntry(file.string().c_str(), text.c_str());
  const std::string after = Contents(file);
  if (text.size() < static_cast<std::size_t>(kReportBytes)) {
    FUZZ_CHECK(result == EntryResult::kWritten);
    FUZZ_CHECK(after == earlier + kEntryHeader + text);
  } else {
    FUZZ_CHECK(result == EntryResult::kWriteFailed);
    FUZZ_CHECK(after == earlier);
  }
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    static_cast<void>(entry);
    ++files;
  }
  FUZZ_CHECK(files == 1);
  return 0;
}
