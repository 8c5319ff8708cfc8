// Received reports arrive as Shift_JIS report files, or as mails and texts in
// Shift_JIS, UTF-8 (with or without BOM), ISO-2022-JP, EUC-JP, UTF-16 and the
// rest a mail may declare; all are read as UTF-8. Japanese charsets are read as
// Windows and browsers read them: Shift_JIS as CP932, ISO-2022-JP and EUC-JP
// with NEC's and IBM's characters.
#ifndef TARVOLO_RESULTS_READ_TEXT_DECODING_H
#define TARVOLO_RESULTS_READ_TEXT_DECODING_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class TextEncoding {
  kShiftJis,
  kUtf8,
  kIso2022Jp,
  kEucJp,
  kUtf16Le,  // these four known by their byte order mark or declared
  kUtf16Be,
  kUtf32Le,
  kUtf32Be,
  kDeclared,  // by the converter its declared charset names
};

struct DecodedText {
  std::string utf8;
  TextEncoding encoding;
  // Where in utf8 a U+FFFD stands for a byte sequence invalid in the encoding
  // or a control character other than tab and line breaks: byte offsets, in
  // order. Counted here, where they are met, and nowhere else.
  std::vector<std::size_t> unreadable;
  // The declared charset is none a decoder knows, and the bytes did not read
  // cleanly by their look either: what is in utf8 is a guess.
  bool unknownCharset = false;
};

// U+FFFD in UTF-8: what stands for every byte sequence that could not be read.
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// The encoding a received text is most likely in, by its bytes alone.
TextEncoding GuessEncoding(std::string_view bytes);

// The text in UTF-8, a byte order mark dropped.
DecodedText DecodeAs(std::string_view bytes, TextEncoding encoding);

inline DecodedText DecodeToUtf8(std::string_view bytes) {
  return DecodeAs(bytes, GuessEncoding(bytes));
}

// The text in UTF-8 by its declared charset (any name ICU knows, any case); by
// its bytes alone when none is declared, when no decoder knows the name (then
// unknownCharset unless they read cleanly so), or when it is wrong (the bytes
// read better otherwise).
DecodedText DecodeDeclared(std::string_view bytes, std::string_view charset);

#endif
