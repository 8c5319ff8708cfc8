// One received file, whatever it is: a mail or an mbox is read as mail, a report
// file or another text as it stands. What leaves here is decoded UTF-8 text.
#ifndef TARVOLO_RESULTS_READ_RECEIVED_FILE_H
#define TARVOLO_RESULTS_READ_RECEIVED_FILE_H

#include <cstddef>
#include <cstdint>
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

// How a large mbox is read: in pieces of about pieceBytes on up to threads
// threads at once (0: one per processor, up to 8; 1: in one go).
struct MboxReading {
  std::int64_t pieceBytes = std::int64_t{4} << 20;
  unsigned threads = 0;
};

// Calls each for every text of the file, in the order they stand in it: the
// file itself, or each text part of each of its mails (an entry ends where its
// part ends). each is called on the calling thread.
FileRead ReadReceivedFile(const std::string& path,
                          const std::function<void(const ReceivedText&)>& each,
                          const MboxReading& reading = MboxReading());

#endif
