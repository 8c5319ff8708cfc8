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

// A report file's or another text's bytes, their encoding guessed.
ReceivedText ReceivedTextOf(std::string_view bytes);

// Whether bytes that could not be read stand in utf8's [from, to).
bool HasUnreadable(const ReceivedText& text, std::size_t from, std::size_t to);

#endif
