#include "results/read/received_text.h"

#include <algorithm>
#include <utility>

#include "results/read/text_decoding.h"

ReceivedText ReceivedTextOf(std::string_view bytes) {
  DecodedText decoded = DecodeToUtf8(bytes);
  return {std::move(decoded.utf8), std::move(decoded.unreadable), false};
}

bool HasUnreadable(const ReceivedText& text, std::size_t from, std::size_t to) {
  const auto first = std::lower_bound(text.unreadable.begin(), text.unreadable.end(), from);
  return first != text.unreadable.end() && *first < to;
}
