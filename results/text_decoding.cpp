#include "results/text_decoding.h"

#include <iconv.h>

#include <cerrno>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 sequence at p (at most n bytes), or 0.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t n) {
  const auto tail = [&](std::size_t i, unsigned char lo, unsigned char hi) {
    return i < n && p[i] >= lo && p[i] <= hi;
  };
  const unsigned char c = p[0];
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) return tail(1, 0x80, 0xBF) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    // No overlong forms (E0) and no surrogates (ED).
    const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
    const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
    return tail(1, lo, hi) && tail(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
    const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
    return tail(1, lo, hi) && tail(2, 0x80, 0xBF) && tail(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

bool IsStrayControl(unsigned char c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

// NUL and other control characters would reach the page and the table as they
// are; they are shown as U+FFFD like unreadable bytes.
void ReplaceControls(DecodedText& decoded) {
  std::string& text = decoded.utf8;
  std::size_t i = 0;
  while (i < text.size() && !IsStrayControl(static_cast<unsigned char>(text[i]))) ++i;
  if (i == text.size()) return;
  std::string out(text, 0, i);
  out.reserve(text.size() + 64);
  for (; i < text.size(); ++i) {
    if (IsStrayControl(static_cast<unsigned char>(text[i]))) {
      out += kReplacementUtf8;
      ++decoded.replaced;
    } else {
      out += text[i];
    }
  }
  text.swap(out);
}

const char* IconvName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kShiftJis:
      return "CP932";  // what Windows writes as Shift_JIS, with its extra characters
    case TextEncoding::kIso2022Jp:
      return "ISO-2022-JP-2";  // also reads the half-width katakana some mailers send
    case TextEncoding::kUtf8:
      break;
  }
  return "UTF-8";
}

// Valid UTF-8 needs no iconv: copied as it is.
bool CopyIfValidUtf8(std::string_view bytes, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(p + i, bytes.size() - i);
    if (length == 0) return false;
    i += length;
  }
  out.assign(bytes);
  return true;
}

}  // namespace

TextEncoding GuessEncoding(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return TextEncoding::kUtf8;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t multiByte = 0, invalid = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(p + i, bytes.size() - i);
    if (length == 0) {
      ++invalid;
      ++i;
    } else {
      multiByte += length > 1;
      i += length;
    }
  }
  // ISO-2022-JP is 7-bit: its kanji come after ESC $ B (or ESC $ @).
  const bool jisEscape = bytes.find("\x1B$B") != std::string_view::npos ||
                         bytes.find("\x1B$@") != std::string_view::npos;
  if (jisEscape && multiByte + invalid < bytes.size() / 100 + 1) return TextEncoding::kIso2022Jp;
  // Shift_JIS text is mostly invalid as UTF-8; a few bad bytes in a long UTF-8
  // text do not make it Shift_JIS.
  if (invalid == 0 || multiByte > 16 * invalid) return TextEncoding::kUtf8;
  return TextEncoding::kShiftJis;
}

DecodedText DecodeAs(std::string_view bytes, TextEncoding encoding) {
  DecodedText decoded{{}, encoding, 0};
  if (encoding == TextEncoding::kUtf8 && bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bytes.remove_prefix(kUtf8Bom.size());
  }
  if (encoding == TextEncoding::kUtf8 && CopyIfValidUtf8(bytes, decoded.utf8)) {
    ReplaceControls(decoded);
    return decoded;
  }

  iconv_t converter = iconv_open("UTF-8", IconvName(encoding));
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    // The C library lacks the converter: nothing of the text can be read.
    decoded.utf8.assign(kReplacementUtf8);
    decoded.replaced = 1;
    return decoded;
  }
  std::string& out = decoded.utf8;
  out.resize(bytes.size() * 2 + 16);
  std::size_t used = 0;
  char* in = const_cast<char*>(bytes.data());  // iconv's signature; it only reads
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* to = out.data() + used;
    std::size_t toLeft = out.size() - used;
    const std::size_t result = iconv(converter, &in, &inLeft, &to, &toLeft);
    const int error = errno;
    used = static_cast<std::size_t>(to - out.data());
    if (result != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // An invalid sequence (EILSEQ) is passed over one byte at a time; a
    // sequence cut off by the end of the text (EINVAL) ends it.
    if (out.size() - used < kReplacementUtf8.size()) out.resize(out.size() * 2);
    out.replace(used, kReplacementUtf8.size(), kReplacementUtf8);
    used += kReplacementUtf8.size();
    ++decoded.replaced;
    if (error != EILSEQ) break;
    ++in;
    --inLeft;
  }
  iconv_close(converter);
  out.resize(used);
  ReplaceControls(decoded);
  return decoded;
}
