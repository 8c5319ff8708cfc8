#include "results/read/katakana_shifts.h"

namespace {

constexpr char kEscape = '\x1B';
constexpr char kShiftOut = '\x0E';
constexpr char kShiftIn = '\x0F';
constexpr std::string_view kAscii = "\x1B(B";
constexpr std::string_view kKatakana = "\x1B(I";

// The length of the escape sequence at bytes[at] (ESC, intermediate bytes
// 0x20-0x2F, a final byte 0x30-0x7E), or 0 when it is none.
std::size_t EscapeLength(std::string_view bytes, std::size_t at) {
  std::size_t end = at + 1;
  while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] <= 0x2F) ++end;
  const bool final = end > at + 1 && end < bytes.size() && bytes[end] >= 0x30 && bytes[end] <= 0x7E;
  return final ? end + 1 - at : 0;
}

}  // namespace

bool HasKatakanaShift(std::string_view bytes) {
  return bytes.find(kShiftOut) != std::string_view::npos;
}

std::string KatakanaShiftsAsEscapes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 64);
  std::string_view designation = kAscii;
  bool shifted = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    const std::size_t escape = c == kEscape ? EscapeLength(bytes, i) : 0;
    if (escape > 0) {
      designation = bytes.substr(i, escape);
      shifted = false;
      out.append(designation);
      i += escape - 1;
    } else if (c == kShiftOut) {
      if (!shifted) out.append(kKatakana);
      shifted = true;
    } else if (c == kShiftIn) {
      if (shifted) out.append(designation);
      shifted = false;
    } else {
      out += c;
    }
  }
  return out;
}
