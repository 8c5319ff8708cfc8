#include "results/read/received_text.h"

#include <algorithm>
#include <utility>

#include "results/read/text_decoding.h"

ReceivedText ReceivedTextOf(std::string_view bytes) {
  return ReceivedTextOf(DecodeToUtf8(bytes), false);
}

ReceivedText ReceivedTextOf(DecodedText decoded, bool damaged) {
  std::string& utf8 = decoded.utf8;
  // A run of CRs before an LF is one line break (a report file written in text
  // mode has CR CR LF); a CR that no LF follows is a line break of its own. The
  // bytes keep their places, and the unreadable offsets with them.
  for (std::size_t at = utf8.find('\r'); at != std::string::npos; at = utf8.find('\r', at)) {
    const std::size_t end = utf8.find_first_not_of('\r', at);
    if (end == std::string::npos || utf8[end] != '\n') {
      std::fill(
          utf8.begin() + static_cast<std::ptrdiff_t>(at),
          end == std::string::npos ? utf8.end() : utf8.begin() + static_cast<std::ptrdiff_t>(end),
          '\n');
    }
    at = end;
  }
  return {std::move(utf8), std::move(decoded.unreadable), damaged};
}

bool HasUnreadable(const ReceivedText& text, std::size_t from, std::size_t to) {
  const auto first = std::lower_bound(text.unreadable.begin(), text.unreadable.end(), from);
  return first != text.unreadable.end() && *first < to;
}
