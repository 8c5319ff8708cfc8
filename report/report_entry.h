// Appending one report to the file the user chose: a header line, then the
// report's text exactly as it stands.
#ifndef TARVOLO_REPORT_REPORT_ENTRY_H
#define TARVOLO_REPORT_REPORT_ENTRY_H

// What opens every entry in a report file: CR LF, the header line, CR LF CR LF.
extern const char kEntryHeader[];

enum class EntryResult {
  kWritten,      // the whole entry reached the file
  kCannotOpen,   // not opened for appending, or not a file on disk; nothing written
  kWriteFailed,  // writing or closing failed, or the text is longer than a report
};

// Appends CR LF, "★★★★★ Tarvolo 結果報告書 ★★★★★", CR LF CR LF and szReport's
// bytes (up to its terminating zero) to the file at path, creating it when
// missing, by one write while no other writer may add to the file. The path is
// UTF-8, so that it names any file the system holds, exactly. A file another
// writer holds is waited for briefly, then refused. The file's earlier bytes are
// never touched; when a write fails, what it left is cut off again unless the
// file has grown by more meanwhile. A szReport not zero-terminated within
// kReportBytes is refused (kWriteFailed) before the file is opened.
EntryResult AppendReportEntry(const char* path, const char* szReport);

#endif
