// Writing the pages and the table into the output folder, and nowhere else.
#ifndef TARVOLO_RESULTS_SITE_OUTPUT_FOLDER_H
#define TARVOLO_RESULTS_SITE_OUTPUT_FOLDER_H

#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "results/read/owners.h"

// Creates the folder when missing.
bool MakeFolder(const std::string& folder, std::string& why);

// A file written to folder/name through a new temporary file in the folder,
// renamed over the old one by Commit: a link standing at folder/name is
// replaced, never followed out of the folder, and a reader never sees half a
// file. Without a successful Commit the temporary file is removed.
class FolderFile {
 public:
  FolderFile(const std::string& folder, const std::string& name);
  ~FolderFile();

  // False once any write has failed.
  bool Write(std::string_view bytes);
  bool Commit(std::string& why);

 private:
  std::string target_;
  std::string temporary_;
  UniqueFd fd_;
  int error_ = 0;  // the first failure's errno
};

bool WriteIntoFolder(const std::string& folder, const std::string& name, std::string_view bytes,
                     std::string& why);

// Removes what is left in the folder under a name that ours() gives and a run
// did not write this time (a page of an earlier, longer ranking); nothing else
// is touched, and a folder under such a name is left alone.
bool RemoveLeftOvers(const std::string& folder, const std::function<bool(std::string_view)>& ours,
                     const std::set<std::string>& written, std::string& why);

#endif
