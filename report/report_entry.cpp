#include "report/report_entry.h"

#include <cstddef>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "report/report_text.h"

const char kEntryHeader[] = "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n";

namespace {

// The text's length, looking no further than a report buffer; -1 when it runs on.
long ReportLength(const char* szReport) {
  for (long n = 0; n < kReportBytes; ++n) {
    if (szReport[n] == '\0') return n;
  }
  return -1;
}

bool WriteAll(std::FILE* file, const char* bytes, std::size_t count) {
  return std::fwrite(bytes, 1, count, file) == count;
}

// Cuts the file back to the length it had before the entry.
bool CutBack(std::FILE* file, long length) {
#ifdef _WIN32
  return _chsize(_fileno(file), length) == 0;
#else
  return ftruncate(fileno(file), length) == 0;
#endif
}

}  // namespace

EntryResult AppendReportEntry(const char* path, const char* szReport) {
  const long length = ReportLength(szReport);
  if (length < 0) return EntryResult::kWriteFailed;

  // Binary, so that the text's CR LF stay CR LF and nothing is translated.
  std::FILE* file = std::fopen(path, "ab");
  if (file == nullptr) return EntryResult::kCannotOpen;

  // Unbuffered, so that after a failed write nothing is left in a buffer to
  // reach the file once it has been cut back.
  std::setvbuf(file, nullptr, _IONBF, 0);
  long oldLength = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;

  bool ok = WriteAll(file, kEntryHeader, sizeof kEntryHeader - 1) &&
            WriteAll(file, szReport, static_cast<std::size_t>(length));
  // Flushed on its own: some runtimes' fclose report success after a failed flush.
  ok = std::fflush(file) == 0 && ok;
  // A part of an entry (on a full disk, say) would stay in the user's file.
  if (!ok && oldLength >= 0) static_cast<void>(CutBack(file, oldLength));
  ok = std::fclose(file) == 0 && ok;
  return ok ? EntryResult::kWritten : EntryResult::kWriteFailed;
}
