// Received reports arrive as Shift_JIS report files, or as mails and texts in
// Shift_JIS, UTF-8 (with or without BOM), ISO-2022-JP or EUC-JP; all are read as
// UTF-8.
#ifndef TARVOLO_RESULTS_TEXT_DECODING_H
#define TARVOLO_RESULTS_TEXT_DECODING_H

#include <cstddef>
#include <string>
#include <string_view>

enum class TextEncoding { kShiftJis, kUtf8, kIso2022Jp, kEucJp };

struct DecodedText {
  std::string utf8;
  TextEncoding encoding;
  // How many byte sequences invalid in the encoding, and control characters
  // other than tab and line breaks, were each shown as U+FFFD.
  std::size_t replaced;
};

// U+FFFD in UTF-8: what stands for every byte sequence that could not be read.
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// The encoding a received text is most likely in, by its bytes alone.
TextEncoding GuessEncoding(std::string_view bytes);

// The text in UTF-8 (a UTF-8 BOM dropped), through iconv.
DecodedText DecodeAs(std::string_view bytes, TextEncoding encoding);

inline DecodedText DecodeToUtf8(std::string_view bytes) {
  return DecodeAs(bytes, GuessEncoding(bytes));
}

// The encoding a mail's charset names (UTF-8, ISO-2022-JP, Shift_JIS or CP932,
// EUC-JP, in their usual spellings, any case); false for any other name.
bool EncodingNamed(std::string_view charset, TextEncoding* encoding);

// The text in UTF-8 by its declared charset; by its bytes alone when none is
// declared, the declaration is not one of the encodings above, or it is wrong
// (the bytes read better otherwise).
DecodedText DecodeDeclared(std::string_view bytes, std::string_view charset);

#endif
