// Writing the pages and the table into the output folder, and nowhere else.
#ifndef TARVOLO_RESULTS_SITE_OUTPUT_FOLDER_H
#define TARVOLO_RESULTS_SITE_OUTPUT_FOLDER_H

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "results/read/owners.h"

// Creates the folder when missing.
bool MakeFolder(const std::string& folder, std::string& why);

// A file written to folder/name through a new temporary file in the folder,
// renamed over the old one by Publish: a link standing at folder/name is
// replaced, never followed out of the folder, and a reader never sees half a
// file. Unless published the temporary file is removed.
class FolderFile {
 public:
  FolderFile(const std::string& folder, const std::string& name);
  ~FolderFile();
  FolderFile(const FolderFile&) = delete;
  FolderFile& operator=(const FolderFile&) = delete;

  // False once any write has failed.
  bool Write(std::string_view bytes);
  // Ends the writing; false when any of it failed, why naming the file.
  bool Close(std::string& why);
  // Puts the closed file in its place.
  bool Publish(std::string& why);

 private:
  bool Failed(std::string& why) const;

  std::string name_;
  std::string target_;
  std::string temporary_;
  UniqueFd fd_;
  int error_ = 0;  // the first failure's errno
};

// The files of one run, each written whole beside the published ones before
// any of them takes its place: a run that fails part way (a full disk, a
// folder it may not write) leaves the published files as they were.
class StagedFiles {
 public:
  explicit StagedFiles(std::string folder) : folder_(std::move(folder)) {}

  // A new file to write and Close; it stays with the others until Publish.
  FolderFile& Begin(const std::string& name);
  // Renames every file into place, in the order begun; the first failure stops it.
  bool Publish(std::string& why);
  const std::set<std::string>& names() const { return names_; }

 private:
  std::string folder_;
  std::vector<std::unique_ptr<FolderFile>> files_;
  std::set<std::string> names_;
};

// Removes what is left in the folder under a name that ours() gives and a run
// did not write this time (a page of an earlier, longer ranking); nothing else
// is touched, and a folder under such a name is left alone.
bool RemoveLeftOvers(const std::string& folder, const std::function<bool(std::string_view)>& ours,
                     const std::set<std::string>& written, std::string& why);

#endif
