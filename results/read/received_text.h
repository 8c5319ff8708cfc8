// What the reader hands on: a received text in UTF-8, and what was lost on the
// way. Whether it came in a mail, and in which encoding, stays behind.
#ifndef TARVOLO_RESULTS_READ_RECEIVED_TEXT_H
#define TARVOLO_RESULTS_READ_RECEIVED_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ReceivedText {
  std::string utf8;
  // Where in utf8 a U+FFFD stands for bytes that could not be read: byte
  // offsets, in order.
  std::vector<std::size_t> unreadable;
  bool damaged = false;  // read from a broken mail: only what could be read is here
};

struct DecodedText;

// A report file's or another text's bytes, their encoding guessed.
ReceivedText ReceivedTextOf(std::string_view bytes);

// A decoded text as it is handed on: its lines ending in LF or CR LF, a line
// break by CR alone (an old Mac's, or an editor's) made LF.
ReceivedText ReceivedTextOf(DecodedText decoded, bool damaged);

// Whether bytes that could not be read stand in utf8's [from, to).
bool HasUnreadable(const ReceivedText& text, std::size_t from, std::size_t to);

#endif
