// The files named on the command line and all files under the folders named,
// and reading them. What cannot be read is named on standard error and skipped.
#ifndef TARVOLO_RESULTS_READ_INPUT_FILES_H
#define TARVOLO_RESULTS_READ_INPUT_FILES_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "results/read/owners.h"

struct InputFiles {
  std::vector<std::string> paths;  // per argument; a folder's files in byte order
  std::size_t skipped = 0;
};

// Folders are read recursively; a link to a folder is not followed (it could
// lead round in a circle) and, like a pipe or a device, is named and skipped.
// Passed over silently: a Maildir's tmp/ (mails still being delivered) and the
// .msf index files a Thunderbird profile keeps beside its mbox files.
InputFiles CollectInputs(const std::vector<std::string>& arguments, std::ostream& errors);

// The file opened for reading; none, with the reason, when it cannot be opened
// or is not a regular file (a pipe that turned up since would block).
UniqueFd OpenRegularFile(const std::string& path, std::string& why);

// The file's first bytes, up to bytes.size() of them (bytes is cut to what there
// is), without moving its position.
bool ReadHead(int fd, std::string& bytes, std::string& why);

// The whole file from its start.
bool ReadWhole(int fd, std::string& bytes, std::string& why);

#endif
