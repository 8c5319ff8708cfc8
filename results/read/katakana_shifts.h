// Half-width katakana in ISO-2022-JP as some Japanese mail programs send it: by
// SO and SI, the shift into JIS X 0201's katakana and back, which ICU's
// converter does not read. It reads the same characters designated by ESC ( I.
#ifndef TARVOLO_RESULTS_READ_KATAKANA_SHIFTS_H
#define TARVOLO_RESULTS_READ_KATAKANA_SHIFTS_H

#include <string>
#include <string_view>

// Whether bytes hold an SO at all (most texts do not, and are left as they are).
bool HasKatakanaShift(std::string_view bytes);

// The bytes with each SO written as ESC ( I and each SI as the designation in
// force before the SO (ASCII when none was made).
std::string KatakanaShiftsAsEscapes(std::string_view bytes);

#endif
