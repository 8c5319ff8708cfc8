// The files named on the command line and all files under the folders named,
// and reading them. What cannot be read is named on standard error and skipped.
#ifndef TARVOLO_RESULTS_INPUT_FILES_H
#define TARVOLO_RESULTS_INPUT_FILES_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

struct InputFiles {
  std::vector<std::string> paths;  // per argument; a folder's files in byte order
  std::size_t skipped = 0;
};

// Folders are read recursively; a link to a folder is not followed (it could
// lead round in a circle) and, like a pipe or a device, is named and skipped.
InputFiles CollectInputs(const std::vector<std::string>& arguments, std::ostream& errors);

// The whole file; false with the reason when it cannot be read or is not a
// regular file (a pipe that turned up since would block).
bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& why);

#endif
