#include "results/read/text_decoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "results/read/icu_decoding.h"
#include "results/read/katakana_shifts.h"
#include "results/read/owners.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// What a byte is to the quick loops below: plain ASCII is copied as it is.
enum ByteClass : unsigned char { kPlain, kControl, kHigh };

struct ByteClasses {
  ByteClass of[256];
  constexpr ByteClasses() : of() {
    for (int c = 0; c < 256; ++c) {
      const bool control = (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
      of[c] = c >= 0x80 ? kHigh : control ? kControl : kPlain;
    }
  }
};
constexpr ByteClasses kClasses;

// The length of the well-formed UTF-8 sequence at p (at most n bytes, p[0] >=
// 0x80), or 0.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t n) {
  const auto tail = [&](std::size_t i, unsigned char lo, unsigned char hi) {
    return i < n && p[i] >= lo && p[i] <= hi;
  };
  const unsigned char c = p[0];
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

// The decoded text is built in a buffer large enough for the worst case: every
// byte becoming a three-byte character (a half-width katakana, or U+FFFD).
class Utf8Output {
 public:
  explicit Utf8Output(std::size_t inputBytes)
      : buffer_(new char[inputBytes * 3 + 4]), end_(buffer_.get()) {}
  void Append(const void* bytes, std::size_t count) {
    if (count == 0) return;  // an empty text may have no bytes at all
    std::memcpy(end_, bytes, count);
    end_ += count;
  }
  // A character of at most four bytes from a table slot of four: copied whole
  // (one move; the buffer has four bytes to spare), then counted.
  void AppendCharacter(const char (&slot)[4], std::size_t length) {
    std::memcpy(end_, slot, 4);
    end_ += length;
  }
  void Replacement(DecodedText& decoded) {
    decoded.unreadable.push_back(static_cast<std::size_t>(end_ - buffer_.get()));
    Append(kReplacementUtf8.data(), kReplacementUtf8.size());
  }
  // Copies the plain ASCII from p[i] on; returns the index of the first other byte.
  std::size_t CopyPlain(const unsigned char* p, std::size_t i, std::size_t n) {
    const std::size_t start = i;
    while (i < n && kClasses.of[p[i]] == kPlain) ++i;
    Append(p + start, i - start);
    return i;
  }
  void MoveTo(std::string& text) { text.assign(buffer_.get(), end_); }

 private:
  std::unique_ptr<char[]> buffer_;
  char* end_;
};

// Shift_JIS through a table that iconv fills as characters turn up: iconv says
// what each byte and byte pair is, and each is asked once however often it
// occurs (iconv itself costs about 40 instructions a byte).
class ShiftJisTable {
 public:
  ShiftJisTable() : converter_(OpenIconv("UTF-8", "CP932")) {}

  bool usable() const { return converter_ != nullptr; }

  // Appends the character at p (n bytes left, p[0] >= 0x80) and returns the
  // bytes it took: 1 or 2, or 0 when they are no character (nothing appended).
  std::size_t Append(const unsigned char* p, std::size_t n, Utf8Output& out) {
    const Slot& single = Lookup(p[0], p, 1);
    if (single.length > 0) {
      out.AppendCharacter(single.utf8, single.length);
      return 1;
    }
    if (!single.lead || n < 2) return 0;
    const Slot& pair = Lookup(256 + (p[0] << 8 | p[1]), p, 2);
    if (pair.length == 0) return 0;
    out.AppendCharacter(pair.utf8, pair.length);
    return 2;
  }

  // The bytes an unreadable character at p takes: a lead byte and the byte
  // after it, unless that is ASCII (a text cut in the middle of a pair goes on
  // in step with the sender's), else the byte alone.
  std::size_t UnreadableLength(const unsigned char* p, std::size_t n) {
    return n >= 2 && p[1] >= 0x80 && Lookup(p[0], p, 1).lead ? 2 : 1;
  }

 private:
  struct Slot {
    bool asked = false;
    bool lead = false;  // a byte that starts a pair
    unsigned char length = 0;
    char utf8[4] = {};
  };

  const Slot& Lookup(std::size_t index, const unsigned char* p, std::size_t count) {
    Slot& slot = slots_[index];
    return slot.asked ? slot : Ask(slot, p, count);
  }

  // The first time a byte or pair turns up: iconv is asked what it is.
  __attribute__((noinline)) const Slot& Ask(Slot& slot, const unsigned char* p, std::size_t count) {
    slot.asked = true;
    char in[2] = {static_cast<char>(p[0]), count > 1 ? static_cast<char>(p[1]) : '\0'};
    char* from = in;
    std::size_t fromLeft = count;
    char* to = slot.utf8;
    std::size_t toLeft = sizeof slot.utf8;
    iconv(converter_.get(), nullptr, nullptr, nullptr, nullptr);
    const std::size_t result = iconv(converter_.get(), &from, &fromLeft, &to, &toLeft);
    if (result != static_cast<std::size_t>(-1) && fromLeft == 0) {
      slot.length = static_cast<unsigned char>(to - slot.utf8);
    } else {
      slot.lead = count == 1 && errno == EINVAL;  // cut off: the byte wants a second
    }
    return slot;
  }

  const IconvPtr converter_;
  Slot slots_[256 + 65536];
};

// NUL and other control characters would reach the page and the table as they
// are; like unreadable bytes they are shown as U+FFFD.
void DecodeShiftJis(std::string_view bytes, DecodedText& decoded) {
  // One table a thread: it is filled as characters turn up.
  thread_local const std::unique_ptr<ShiftJisTable> table = std::make_unique<ShiftJisTable>();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  Utf8Output out(n);
  for (std::size_t i = out.CopyPlain(p, 0, n); i < n; i = out.CopyPlain(p, i, n)) {
    const std::size_t taken =
        kClasses.of[p[i]] == kHigh && table->usable() ? table->Append(p + i, n - i, out) : 0;
    if (taken == 0) {
      out.Replacement(decoded);
      i += table->usable() ? table->UnreadableLength(p + i, n - i) : 1;
    } else {
      i += taken;
    }
  }
  out.MoveTo(decoded.utf8);
}

void DecodeUtf8(std::string_view bytes, DecodedText& decoded) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  Utf8Output out(n);
  for (std::size_t i = out.CopyPlain(p, 0, n); i < n; i = out.CopyPlain(p, i, n)) {
    const std::size_t length = kClasses.of[p[i]] == kHigh ? Utf8SequenceLength(p + i, n - i) : 0;
    if (length == 0) {
      out.Replacement(decoded);
      ++i;
    } else {
      out.Append(p + i, length);
      i += length;
    }
  }
  out.MoveTo(decoded.utf8);
}

// ISO-2022-JP as Windows reads it; ICU's converter lacks only the SO/SI shift
// into half-width katakana. The -2 converter also reads JIS X 0212.
void DecodeIso2022Jp(std::string_view bytes, DecodedText& decoded) {
  const bool shifts = HasKatakanaShift(bytes);
  const std::string escaped = shifts ? KatakanaShiftsAsEscapes(bytes) : std::string();
  if (!DecodeThroughIcu(shifts ? escaped : bytes, "ISO-2022-JP-2", decoded)) {
    decoded.unknownCharset = true;
  }
}

// The ICU converter of an encoding read by none of the loops above.
const char* IcuConverterOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kEucJp:
      return "EUC-JP";
    case TextEncoding::kUtf16Le:
      return "UTF-16LE";
    case TextEncoding::kUtf16Be:
      return "UTF-16BE";
    case TextEncoding::kUtf32Le:
      return "UTF-32LE";
    default:  // kUtf32Be; DecodeAs asks for no other
      return "UTF-32BE";
  }
}

void DecodeByIcu(std::string_view bytes, const char* name, DecodedText& decoded) {
  if (!DecodeThroughIcu(bytes, name, decoded)) decoded.unknownCharset = true;
}

}  // namespace

TextEncoding GuessEncoding(std::string_view bytes) {
  // Byte order marks, the four-byte ones first (FF FE also opens UTF-32LE's).
  static const struct {
    std::string_view mark;
    TextEncoding encoding;
  } kMarks[] = {
      {{"\xFF\xFE\0\0", 4}, TextEncoding::kUtf32Le},
      {{"\0\0\xFE\xFF", 4}, TextEncoding::kUtf32Be},
      {kUtf8Bom, TextEncoding::kUtf8},
      {"\xFF\xFE", TextEncoding::kUtf16Le},
      {"\xFE\xFF", TextEncoding::kUtf16Be},
  };
  for (const auto& known : kMarks) {
    if (bytes.substr(0, known.mark.size()) == known.mark) return known.encoding;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t multiByte = 0, invalid = 0;
  for (std::size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(p + i, n - i);
    if (length == 0) {
      ++invalid;
      ++i;
      // Hundreds of bad bytes and few good sequences: a text in UTF-8 would
      // not look like this, so the rest need not be read.
      if (invalid >= 256 && multiByte <= 16 * invalid) break;
    } else {
      ++multiByte;
      i += length;
    }
  }
  // ISO-2022-JP is 7-bit: its kanji come after ESC $ B (or ESC $ @).
  const bool jisEscape = bytes.find("\x1B$B") != std::string_view::npos ||
                         bytes.find("\x1B$@") != std::string_view::npos;
  if (jisEscape && multiByte + invalid < n / 100 + 1) return TextEncoding::kIso2022Jp;
  // Shift_JIS text is mostly invalid as UTF-8; a few bad bytes in a long UTF-8
  // text do not make it Shift_JIS.
  if (invalid == 0 || multiByte > 16 * invalid) return TextEncoding::kUtf8;
  return TextEncoding::kShiftJis;
}

DecodedText DecodeAs(std::string_view bytes, TextEncoding encoding) {
  DecodedText decoded{{}, encoding, {}, false};
  switch (encoding) {
    case TextEncoding::kShiftJis:
      DecodeShiftJis(bytes, decoded);
      break;
    case TextEncoding::kIso2022Jp:
      DecodeIso2022Jp(bytes, decoded);
      break;
    case TextEncoding::kEucJp:
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
    case TextEncoding::kUtf32Le:
    case TextEncoding::kUtf32Be:
      DecodeByIcu(bytes, IcuConverterOf(encoding), decoded);
      break;
    case TextEncoding::kDeclared:  // no name to go by: read by the look of the bytes
      return DecodeToUtf8(bytes);
    case TextEncoding::kUtf8:
      if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
      DecodeUtf8(bytes, decoded);
      break;
  }
  return decoded;
}

namespace {

bool EncodingNamed(std::string_view charset, TextEncoding* encoding) {
  static const struct {
    const char* name;
    TextEncoding encoding;
  } kNames[] = {
      {"utf-8", TextEncoding::kUtf8},
      {"utf8", TextEncoding::kUtf8},
      {"iso-2022-jp", TextEncoding::kIso2022Jp},
      {"csiso2022jp", TextEncoding::kIso2022Jp},
      {"shift_jis", TextEncoding::kShiftJis},
      {"shift-jis", TextEncoding::kShiftJis},
      {"sjis", TextEncoding::kShiftJis},
      {"x-sjis", TextEncoding::kShiftJis},
      {"cp932", TextEncoding::kShiftJis},
      {"windows-31j", TextEncoding::kShiftJis},
      {"ms932", TextEncoding::kShiftJis},
      {"ms_kanji", TextEncoding::kShiftJis},
      {"csshiftjis", TextEncoding::kShiftJis},
      {"windows-932", TextEncoding::kShiftJis},
      {"euc-jp", TextEncoding::kEucJp},
      {"x-euc-jp", TextEncoding::kEucJp},
      {"eucjp", TextEncoding::kEucJp},
      {"cseucpkdfmtjapanese", TextEncoding::kEucJp},
      {"iso-2022-jp-1", TextEncoding::kIso2022Jp},
      {"iso-2022-jp-2", TextEncoding::kIso2022Jp},
  };
  for (const auto& known : kNames) {
    const std::string_view name = known.name;
    if (charset.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < name.size(); ++i) {
      const char c = charset[i];
      same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == name[i];
    }
    if (same) {
      *encoding = known.encoding;
      return true;
    }
  }
  return false;
}

// A charset's name as MIME spells them: letters, digits and a few marks, no
// more than 40 (ICU would read a comma as the start of its own options).
bool IsCharsetName(std::string_view charset) {
  if (charset.size() > 40) return false;
  for (const char c : charset) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letter && c != '-' && c != '_' && c != '.' && c != ':' && c != '+') return false;
  }
  return true;
}

}  // namespace

DecodedText DecodeDeclared(std::string_view bytes, std::string_view charset) {
  if (charset.empty()) return DecodeToUtf8(bytes);
  TextEncoding declared = TextEncoding::kDeclared;
  DecodedText decoded{{}, declared, {}, false};
  if (EncodingNamed(charset, &declared)) {
    decoded = DecodeAs(bytes, declared);
  } else if (!IsCharsetName(charset) ||
             !DecodeThroughIcu(bytes, std::string(charset).c_str(), decoded)) {
    // No decoder knows the name: the bytes' own look, trusted only when it
    // reads them cleanly.
    decoded = DecodeToUtf8(bytes);
    decoded.unknownCharset = !decoded.unreadable.empty();
    return decoded;
  }
  // A wrong declaration (a Shift_JIS file sent as UTF-8, say) leaves much
  // unreadable, and the bytes' own look decides when it reads them far better.
  // A pair or two that no table holds is no sign of one: read otherwise, the
  // rest would turn into characters that were never sent.
  if (decoded.unreadable.size() < 3) return decoded;
  const TextEncoding guessed = GuessEncoding(bytes);
  if (guessed == declared) return decoded;
  DecodedText other = DecodeAs(bytes, guessed);
  return other.unreadable.size() * 2 < decoded.unreadable.size() ? other : decoded;
}
