// One received file, whatever it is: a mail or an mbox is read as mail, a report
// file or another text as it stands. What leaves here is decoded UTF-8 text.
#ifndef TARVOLO_RESULTS_READ_RECEIVED_FILE_H
#define TARVOLO_RESULTS_READ_RECEIVED_FILE_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "results/read/received_text.h"

struct FileRead {
  bool read = false;      // false: the file could not be read, for the reason in why
  std::size_t mails = 0;  // the mails in it; none when it was read as a text
  std::string why;
  // The parts of its mails that could not be taken, each said in words: what
  // and in which mail.
  std::vector<std::string> lostParts;
};

// Calls each for every text of the file: the file itself, or each text part of
// each of its mails (an entry ends where its part ends).
FileRead ReadReceivedFile(const std::string& path,
                          const std::function<void(const ReceivedText&)>& each);

#endif
