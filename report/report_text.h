// The result report's text: the template with both best times filled in, and the
// notice shown above it. Both are Shift_JIS bytes, as everything the user sees.
#ifndef TARVOLO_REPORT_REPORT_TEXT_H
#define TARVOLO_REPORT_REPORT_TEXT_H

// The report buffer: the longest report is kReportBytes - 1 bytes of text.
constexpr int kReportBytes = 4096;

// The maker's addresses: where a report is sent (its first line) and where the
// results are published (the notice).
extern const char kMakerMail[];
extern const char kMakerWeb[];

// "結果は <web address> で公開しています。"
extern const char kReportNotice[];

// Ten lines, each ended CR LF, made from the table of the report's fields
// (report_fields.h); the times of the limits 10000 and 100000 are written "%3.3f"
// on lines 4 and 5 (0 where there is no record yet).
void ComposeReport(float fTime10000, float fTime100000, char (&szReport)[kReportBytes]);

#endif
