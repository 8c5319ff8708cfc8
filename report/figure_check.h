// The check that a report still carries both measured figures, run after every
// edit and once more before saving.
#ifndef TARVOLO_REPORT_FIGURE_CHECK_H
#define TARVOLO_REPORT_FIGURE_CHECK_H

// True when both times, written "%3.3f", occur anywhere in szReport (byte-wise;
// one occurrence serves both when they read the same). szReport is the whole
// text, zero-terminated, however long.
bool FiguresPresent(const char* szReport, float fTime10000, float fTime100000);

#endif
