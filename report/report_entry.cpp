#include "report/report_entry.h"

#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>

#include "report/append_file.h"
#include "report/report_fields.h"
#include "report/report_text.h"

const char kEntryHeader[] = "\r\n" TARVOLO_ENTRY_HEADER_LINE "\r\n\r\n";
constexpr std::size_t kHeaderBytes = sizeof kEntryHeader - 1;

// Another Tarvolo saving to the same file holds it for a moment only: wait up to
// about two seconds for it before telling the user the file cannot be opened.
constexpr int kBusyPauses = 100;
constexpr std::chrono::milliseconds kBusyPause(20);

namespace {

// The text's length, looking no further than a report buffer; -1 when it runs on.
long ReportLength(const char* szReport) {
  for (long n = 0; n < kReportBytes; ++n) {
    if (szReport[n] == '\0') return n;
  }
  return -1;
}

bool OpenWhenFree(CAppendFile& file, const char* path) {
  for (int pause = 0;; ++pause) {
    CAppendFile::OpenResult result = file.Open(path);
    if (result != CAppendFile::OpenResult::kBusy) return result == CAppendFile::OpenResult::kOpened;
    if (pause == kBusyPauses) return false;
    std::this_thread::sleep_for(kBusyPause);
  }
}

}  // namespace

EntryResult AppendReportEntry(const char* path, const char* szReport) {
  const long length = ReportLength(szReport);
  if (length < 0) return EntryResult::kWriteFailed;

  // Header and text in one buffer and one write, so that nothing another writer
  // adds can fall between them.
  char entry[kHeaderBytes + kReportBytes];
  std::memcpy(entry, kEntryHeader, kHeaderBytes);
  std::memcpy(entry + kHeaderBytes, szReport, static_cast<std::size_t>(length));
  const std::size_t count = kHeaderBytes + static_cast<std::size_t>(length);

  CAppendFile file;
  // A device (NUL, COM1, AUX.txt) would swallow the entry or block on it.
  if (!OpenWhenFree(file, path) || !file.IsDiskFile()) return EntryResult::kCannotOpen;
  const long long oldLength = file.Length();
  if (oldLength < 0) return EntryResult::kCannotOpen;

  const std::size_t written = file.Write(entry, count);
  bool ok = written == count;
  // A part of an entry (on a full disk, say) would stay in the user's file. It is
  // taken back only while the file ends exactly with it: if the file has grown
  // otherwise, someone else wrote too, and their bytes are not ours to cut.
  if (!ok && written > 0 && file.Length() == oldLength + static_cast<long long>(written)) {
    static_cast<void>(file.CutBack(oldLength));
  }
  ok = file.Close() && ok;
  return ok ? EntryResult::kWritten : EntryResult::kWriteFailed;
}
