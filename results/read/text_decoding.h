// Received reports arrive as Shift_JIS report files, or as mails and texts in
// Shift_JIS, UTF-8 (with or without BOM), ISO-2022-JP or EUC-JP; all are read as
// UTF-8.
#ifndef TARVOLO_RESULTS_READ_TEXT_DECODING_H
#define TARVOLO_RESULTS_READ_TEXT_DECODING_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class TextEncoding { kShiftJis, kUtf8, kIso2022Jp, kEucJp };

struct DecodedText {
  std::string utf8;
  TextEncoding encoding;
  // Where in utf8 a U+FFFD stands for a byte sequence invalid in the encoding
  // or a control character other than tab and line breaks: byte offsets, in
  // order. Counted here, where they are met, and nowhere else.
  std::vector<std::size_t> unreadable;
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

// The text in UTF-8 by its declared charset (UTF-8, ISO-2022-JP, Shift_JIS or
// CP932, EUC-JP, in their usual spellings, any case); by its bytes alone when
// none is declared, the declaration names another charset, or it is wrong (the
// bytes read better otherwise).
DecodedText DecodeDeclared(std::string_view bytes, std::string_view charset);

#endif
