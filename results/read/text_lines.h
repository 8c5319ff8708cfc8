// Taking a received text apart line by line, as the mail sniffer and the entry
// finder both do.
#ifndef TARVOLO_RESULTS_READ_TEXT_LINES_H
#define TARVOLO_RESULTS_READ_TEXT_LINES_H

#include <string_view>

// One line without its line break (LF, CR LF, or the CR CR LF of a report file
// written in text mode); text is advanced past it.
inline std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

#endif
