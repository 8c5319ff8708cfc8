// The report's fields as one table of literals: the program composes the report
// from it, and tarvolo-results reads received reports by it, so that the writer
// and the reader of a report cannot disagree. Each target compiles it in its own
// charset (Shift_JIS in the program, UTF-8 in tarvolo-results); the constants
// are constexpr at namespace scope, so every file holds its own copy.
#ifndef TARVOLO_REPORT_REPORT_FIELDS_H
#define TARVOLO_REPORT_REPORT_FIELDS_H

// Literals, so that they can be pasted into longer ones.
#define TARVOLO_MAKER_MAIL "results@tarvolo.example"
#define TARVOLO_ENTRY_HEADER_LINE "★★★★★ Tarvolo 結果報告書 ★★★★★"

// The report's first line: where it is sent.
constexpr char kReportMailLine[] = "To " TARVOLO_MAKER_MAIL;

// The line that opens each entry of a report file, between two line breaks.
constexpr char kEntryHeaderLine[] = TARVOLO_ENTRY_HEADER_LINE;

// "：", after every label.
constexpr char kLabelColon[] = "：";

// The fields in the order of the report's lines 3 to 10.
enum Field { kName, kTime10000, kTime100000, kMachine, kCpu, kClock, kOs, kComment, kFieldCount };

struct ReportField {
  const char* label;
  int padding;  // ASCII spaces between the label and its colon
  bool figure;  // a measured time follows the colon, written "%3.3f"
};

// The padding puts the colons of lines 3 to 9 at byte column 21: the edit box's
// fixed-pitch font draws a double-byte character two columns wide, so they line
// up on screen.
constexpr ReportField kReportFields[kFieldCount] = {
    {"名前", 17, false},
    {"[10,000]測定結果(秒)", 1, true},
    {"[100,000]測定結果(秒)", 0, true},
    {"マシン名", 13, false},
    {"ＣＰＵ", 15, false},
    {"クロック", 13, false},
    {"ＯＳ", 17, false},
    {"コメント", 0, false},
};

#endif
