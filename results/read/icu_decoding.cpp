#include "results/read/icu_decoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include "results/read/owners.h"

namespace {

// A noncharacter, which no text holds: written by the callback for bytes the
// converter cannot read, and turned into U+FFFD and counted on the way to UTF-8.
constexpr UChar kUnreadableMark = 0xFDD0;

void MarkUnreadable(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                    UConverterCallbackReason reason, UErrorCode* error) {
  // Reset, close and clone are no bytes at all.
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  *error = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kUnreadableMark, 1, 0, error);
}

// ICU's UTF-16 to UTF-8, a buffer at a time; a surrogate pair may be split
// between two buffers.
class Utf8Writer {
 public:
  explicit Utf8Writer(DecodedText& decoded) : decoded_(decoded) {}

  void Append(const UChar* units, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      const UChar unit = units[i];
      if (high_ != 0) {
        const UChar high = high_;
        high_ = 0;
        if (U16_IS_TRAIL(unit)) {
          Put(U16_GET_SUPPLEMENTARY(high, unit));
          continue;
        }
        Unreadable();
      }
      if (U16_IS_LEAD(unit)) {
        high_ = unit;
      } else if (U16_IS_TRAIL(unit) || unit == kUnreadableMark || IsControl(unit)) {
        Unreadable();
      } else if (unit != 0xFEFF || !decoded_.utf8.empty() || !decoded_.unreadable.empty()) {
        Put(unit);  // a byte order mark at the start is no text
      }
    }
  }

  // The end of the text; bytes left unread stand as one U+FFFD.
  void Finish(bool leftUnread) {
    if (high_ != 0 || leftUnread) Unreadable();
    high_ = 0;
  }

 private:
  static bool IsControl(UChar unit) {
    return (unit < 0x20 && unit != '\t' && unit != '\n' && unit != '\r') || unit == 0x7F;
  }

  void Put(UChar32 c) {
    std::string& out = decoded_.utf8;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  void Unreadable() {
    decoded_.unreadable.push_back(decoded_.utf8.size());
    decoded_.utf8 += kReplacementUtf8;
  }

  DecodedText& decoded_;
  UChar high_ = 0;
};

}  // namespace

bool DecodeThroughIcu(std::string_view bytes, const char* name, DecodedText& decoded) {
  UErrorCode status = U_ZERO_ERROR;
  const ConverterPtr converter(ucnv_open(name, &status));
  if (U_FAILURE(status) || !converter) return false;
  ucnv_setToUCallBack(converter.get(), MarkUnreadable, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return false;

  decoded.utf8.clear();
  decoded.unreadable.clear();
  decoded.utf8.reserve(bytes.size() + bytes.size() / 2);
  Utf8Writer writer(decoded);
  UChar buffer[8192];
  const char* source = bytes.data();
  const char* const end = source + bytes.size();
  do {
    UChar* target = buffer;
    status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, buffer + sizeof buffer / sizeof buffer[0], &source,
                   end, nullptr, TRUE, &status);
    writer.Append(buffer, static_cast<std::size_t>(target - buffer));
  } while (status == U_BUFFER_OVERFLOW_ERROR);
  // Any other failure leaves bytes unread: they are lost, and said to be.
  writer.Finish(U_FAILURE(status) && source != end);
  return true;
}
