#include "results/read/content_sniffer.h"

#include <magic.h>

#include <cstring>
#include <mutex>

#include "results/read/owners.h"

namespace {

// libmagic's database, loaded once for the process's life; none when it
// cannot be loaded (then the bytes' own look decides alone).
magic_set* Magic() {
  static const MagicPtr cookie = [] {
    MagicPtr opened(magic_open(MAGIC_MIME_TYPE | MAGIC_ERROR));
    if (opened && magic_load(opened.get(), nullptr) != 0) opened.reset();
    return opened;
  }();
  return cookie.get();
}

// Binary data has NUL and other control bytes all over; a text in any charset
// a mail declares (UTF-16 aside, which a byte order mark shows) has none but
// tab, line breaks, form feed and ISO-2022-JP's escape and shifts.
bool LooksLikeText(std::string_view head) {
  if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF") return true;
  std::size_t controls = 0;
  for (const char c : head) {
    if (c == '\0') return false;
    const unsigned char u = static_cast<unsigned char>(c);
    const bool allowed = std::strchr("\t\n\r\f\x1B\x0E\x0F", c) != nullptr;
    if ((u < 0x20 && !allowed) || u == 0x7F) ++controls;
  }
  return controls * 100 <= head.size();
}

}  // namespace

bool MayBeText(std::string_view head) {
  // Text is the common case (every attached report file), and libmagic takes
  // a third of a millisecond to go through its whole database for a text it
  // has no signature for: a head that plainly looks like text is not asked.
  if (LooksLikeText(head)) return true;
  // One cookie for every thread, asked by one at a time; the type's words are
  // the cookie's until it is asked again.
  static std::mutex asking;
  const std::lock_guard<std::mutex> lock(asking);
  magic_set* const magic = Magic();
  const char* type = magic != nullptr ? magic_buffer(magic, head.data(), head.size()) : nullptr;
  if (type == nullptr) return false;
  // A text the look above does not know (UTF-16 without a byte order mark,
  // say), or a picture, an archive or a PDF, which libmagic knows by its
  // signature in a few microseconds.
  const std::string_view family(type, std::strcspn(type, "/"));
  return family == "text" || family == "message";
}
