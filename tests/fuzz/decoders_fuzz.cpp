// The charset decoders, flowed text and the HTML-to-text conversion on their
// own: the first byte picks the declared charset and whether the part is flowed,
// the rest is the part's bytes.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz_support.h"
#include "results/read/flowed_text.h"
#include "results/read/html_text.h"
#include "results/read/katakana_shifts.h"
#include "results/read/received_text.h"
#include "results/read/text_decoding.h"
#include "text_checks.h"

namespace {

// As mail programs declare them, and names no decoder knows.
const char* const kCharsets[] = {
    "",           "utf-8",     "UTF-8",        "iso-2022-jp", "ISO-2022-JP", "csISO2022JP",
    "shift_jis",  "Shift-JIS", "windows-31j",  "cp932",       "euc-jp",      "x-euc-jp",
    "utf-7",      "utf-16",    "utf-16le",     "utf-16be",    "utf-32",      "us-ascii",
    "iso-8859-1", "koi8-r",    "unknown-8bit", "x-unknown",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view charset = kCharsets[data[0] % std::size(kCharsets)];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  DecodedText declared = DecodeDeclared(bytes, charset);
  CheckReceivedText({declared.utf8, declared.unreadable, false});
  // Joining soft line breaks moves every unreadable place along with its text.
  if (data[0] & 0x80) {
    UndoFlowed(declared.utf8, declared.unreadable, (data[0] & 0x40) != 0);
    CheckReceivedText({std::move(declared.utf8), std::move(declared.unreadable), false});
  }
  // Katakana by SO/SI, rewritten as escapes, reads as ISO-2022-JP like any other.
  if (HasKatakanaShift(bytes)) {
    DecodedText shifted = DecodeAs(KatakanaShiftsAsEscapes(bytes), TextEncoding::kIso2022Jp);
    CheckReceivedText({std::move(shifted.utf8), std::move(shifted.unreadable), false});
  }
  DecodedText guessed = DecodeToUtf8(bytes);
  const ReceivedText text{std::move(guessed.utf8), std::move(guessed.unreadable), false};
  CheckReceivedText(text);
  FUZZ_CHECK(IsUtf8(HtmlToText(text.utf8)));
  return 0;
}
