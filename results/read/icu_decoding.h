// Charsets decoded by ICU's converters: ISO-2022-JP and EUC-JP as Windows and
// browsers read them (NEC's row 13 and the IBM extensions), UTF-7, UTF-16 and
// UTF-32, and whatever else a mail may declare that ICU knows by name.
#ifndef TARVOLO_RESULTS_READ_ICU_DECODING_H
#define TARVOLO_RESULTS_READ_ICU_DECODING_H

#include <string_view>

#include "results/read/text_decoding.h"

// Decodes bytes by the converter of that name (any of ICU's aliases) into
// decoded's utf8 and unreadable. Bytes it cannot read become one U+FFFD per
// sequence it passes over, and the converter stays in step; control characters
// are shown as U+FFFD as well. False, with nothing decoded, when ICU knows no
// converter of that name.
bool DecodeThroughIcu(std::string_view bytes, const char* name, DecodedText& decoded);

#endif
