#include "results/site/output_folder.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

bool MakeFolder(const std::string& folder, std::string& why) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!error && fs::is_directory(folder, error)) return true;
  why = error ? error.message() : "not a folder";
  return false;
}

FolderFile::FolderFile(const std::string& folder, const std::string& name)
    : name_(name), target_(folder + "/" + name) {
  std::string pattern = folder + "/." + name + ".XXXXXX";
  fd_ = OwnFd(mkstemp(pattern.data()));
  if (!fd_ || fchmod(fd_.get().number(), 0644) != 0) error_ = errno;
  if (fd_) temporary_ = pattern;
}

FolderFile::~FolderFile() {
  fd_.reset();
  if (!temporary_.empty()) unlink(temporary_.c_str());
}

bool FolderFile::Write(std::string_view bytes) {
  for (std::size_t done = 0; error_ == 0 && done < bytes.size();) {
    const ssize_t n = write(fd_.get().number(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0) {
      error_ = EIO;
    } else if (errno != EINTR) {
      error_ = errno;
    }
  }
  return error_ == 0;
}

bool FolderFile::Failed(std::string& why) const {
  why = name_ + ": " + std::strerror(error_);
  return false;
}

bool FolderFile::Close(std::string& why) {
  // Closed here rather than by its owner, since a failed close is a failed write.
  if (fd_ && close(fd_.release().number()) != 0 && error_ == 0) error_ = errno;
  return error_ == 0 || Failed(why);
}

bool FolderFile::Publish(std::string& why) {
  if (error_ == 0 && (fd_ || temporary_.empty())) error_ = EBADF;
  if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) error_ = errno;
  if (error_ != 0) return Failed(why);
  temporary_.clear();  // it is the file now
  return true;
}

FolderFile& StagedFiles::Begin(const std::string& name) {
  names_.insert(name);
  files_.push_back(std::make_unique<FolderFile>(folder_, name));
  return *files_.back();
}

bool StagedFiles::Publish(std::string& why) {
  for (const std::unique_ptr<FolderFile>& file : files_) {
    if (!file->Publish(why)) return false;
  }
  return true;
}

bool RemoveLeftOvers(const std::string& folder, const std::function<bool(std::string_view)>& ours,
                     const std::set<std::string>& written, std::string& why) {
  std::error_code error;
  std::vector<fs::path> leftOvers;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!ours(name) || written.count(name) != 0) continue;
    // A link is removed itself, never what it leads to.
    std::error_code ignored;
    if (!fs::is_directory(fs::symlink_status(it->path(), ignored))) leftOvers.push_back(it->path());
  }
  for (const fs::path& path : leftOvers) {
    if (!error && unlink(path.c_str()) != 0 && errno != ENOENT) {
      error = std::error_code(errno, std::generic_category());
    }
  }
  if (error) why = error.message();
  return !error;
}
