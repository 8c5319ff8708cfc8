// A decoded text straight into the entry finder and the field reader: the
// first byte says whether it came from a broken mail, the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "fuzz_support.h"
#include "results/entries/entry_checks.h"
#include "results/entries/text_entries.h"
#include "results/read/received_text.h"
#include "results/read/text_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool damaged = (data[0] & 1) != 0;
  // The reader hands on UTF-8 only: the bytes as UTF-8, what is not replaced.
  DecodedText decoded = DecodeAs(
      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), TextEncoding::kUtf8);
  const ReceivedText text{std::move(decoded.utf8), std::move(decoded.unreadable), damaged};

  std::size_t entries = 0;
  ReadEntries(text, [&](CheckedEntry entry) {
    ++entries;
    for (int field = 0; field < kFieldCount; ++field) {
      const std::string& value = entry.fields.text[field];
      FUZZ_CHECK(IsUtf8(value));
      if (field == kComment) {
        FUZZ_CHECK(value.size() <= 6000);
      } else {
        FUZZ_CHECK(value.size() <= 400);
        FUZZ_CHECK(value.find('\n') == std::string::npos);
      }
    }
    for (int limit = 0; limit < 2; ++limit) {
      const Figure figure = ReadFigure(entry.fields.text[kLimits[limit].field]);
      FUZZ_CHECK(figure.state == entry.figures[limit].state);
      FUZZ_CHECK(figure.thousandths == entry.figures[limit].thousandths);
    }
    FUZZ_CHECK(((entry.flags & kDamagedMail) != 0) == damaged);
    FUZZ_CHECK(text.unreadable.empty() ? (entry.flags & kInvalidBytes) == 0 : true);
    FUZZ_CHECK(!entry.status.empty() && IsUtf8(entry.status));
  });
  // An entry starts at a line of its own.
  std::size_t lines = 1;
  for (char c : text.utf8) lines += c == '\n';
  FUZZ_CHECK(entries <= lines);
  return 0;
}
