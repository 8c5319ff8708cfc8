#include "results/rank/text_folding.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstdint>
#include <initializer_list>

namespace {

// NFKC_Casefold; null only when ICU's data cannot be had.
const UNormalizer2* Folding() {
  static const UNormalizer2* const folding = [] {
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2* normalizer = unorm2_getNFKCCasefoldInstance(&error);
    return U_SUCCESS(error) ? normalizer : nullptr;
  }();
  return folding;
}

std::u16string Utf16Of(std::string_view text) {
  // No more UTF-16 units than UTF-8 bytes; a broken sequence becomes U+FFFD.
  std::u16string wide(text.size(), u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &error);
  wide.resize(U_SUCCESS(error) ? static_cast<std::size_t>(length) : 0);
  return wide;
}

std::string Utf8Of(const std::u16string& wide) {
  // At most three bytes for each UTF-16 unit.
  std::string text(wide.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, wide.data(),
                     static_cast<int32_t>(wide.size()), 0xFFFD, nullptr, &error);
  text.resize(U_SUCCESS(error) ? static_cast<std::size_t>(length) : 0);
  return text;
}

// NFKC_Casefold of text; false when ICU fails.
bool Normalize(const std::u16string& text, std::u16string& folded) {
  const UNormalizer2* folding = Folding();
  if (folding == nullptr) return false;
  folded.resize(text.size() + 16);
  for (int attempt = 0; attempt < 2; ++attempt) {
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length =
        unorm2_normalize(folding, text.data(), static_cast<int32_t>(text.size()), folded.data(),
                         static_cast<int32_t>(folded.size()), &error);
    folded.resize(static_cast<std::size_t>(length));
    if (U_SUCCESS(error)) return true;
    if (error != U_BUFFER_OVERFLOW_ERROR) return false;
  }
  return false;
}

void EraseEvery(std::u16string& text, std::u16string_view part) {
  for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at)) {
    text.erase(at, part.size());
  }
}

// The hyphens and dashes NFKC leaves as they are (it makes "－" a "-" itself):
// ‐ ‑ ‒ – — ― and the minus sign. The long vowel mark "ー" is a letter.
bool IsHyphen(char16_t c) {
  return c == u'-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212;
}

bool EndsWith(std::u16string_view text, std::u16string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsDigitOrPoint(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'.';
}

// "… @ 3.60ghz", "…@3.6 ghz" or "… @ 800mhz" at the end, as a processor's
// name string gives its clock.
void DropTrailingClock(std::u16string& text) {
  for (std::u16string_view unit : {u"ghz", u"mhz"}) {
    if (!EndsWith(text, unit)) continue;
    std::size_t at = text.size() - unit.size();
    if (at > 0 && text[at - 1] == u' ') --at;
    const std::size_t number = at;
    while (at > 0 && IsDigitOrPoint(text[at - 1])) --at;
    if (at == number) return;
    if (at > 0 && text[at - 1] == u' ') --at;
    if (at == 0 || text[at - 1] != u'@') return;
    --at;
    if (at > 0 && text[at - 1] == u' ') --at;
    text.resize(at);
    return;
  }
}

}  // namespace

std::string FoldForComparison(std::string_view text) {
  std::u16string wide = Utf16Of(text);
  // Before NFKC, which would make "Core™" the word "coretm".
  EraseEvery(wide, u"\u2122");
  EraseEvery(wide, u"\u00AE");
  std::u16string folded;
  if (!Normalize(wide, folded)) return std::string(text);
  EraseEvery(folded, u"(r)");
  EraseEvery(folded, u"(tm)");

  std::u16string compared;
  compared.reserve(folded.size());
  for (char16_t c : folded) {
    if (!IsHyphen(c) && !u_isUWhiteSpace(c)) {
      compared += c;
    } else if (!compared.empty() && compared.back() != u' ') {
      compared += u' ';
    }
  }
  if (!compared.empty() && compared.back() == u' ') compared.pop_back();
  DropTrailingClock(compared);
  for (std::u16string_view word : {u" cpu", u" processor"}) {
    if (EndsWith(compared, word)) {
      compared.resize(compared.size() - word.size());
      break;
    }
  }
  return Utf8Of(compared);
}
