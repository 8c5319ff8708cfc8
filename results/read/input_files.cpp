#include "results/read/input_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

void Skip(InputFiles& inputs, std::ostream& errors, const std::string& path,
          const std::string& why) {
  errors << "tarvolo-results: skipped " << path << ": " << why << '\n';
  ++inputs.skipped;
}

void CollectFolder(const fs::path& folder, InputFiles& inputs, std::ostream& errors) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) {
    Skip(inputs, errors, folder.string(), error.message());
    return;
  }
  std::vector<fs::path> children;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    children.push_back(it->path());
  }
  if (error) Skip(inputs, errors, folder.string(), error.message());
  std::sort(children.begin(), children.end());
  const bool maildir = std::count_if(children.begin(), children.end(), [](const fs::path& child) {
                         return child.filename() == "cur" || child.filename() == "new";
                       }) == 2;
  for (const fs::path& child : children) {
    if (child.extension() == ".msf" || (maildir && child.filename() == "tmp")) continue;
    const fs::file_status link = fs::symlink_status(child, error);
    const fs::file_status target = fs::status(child, error);
    if (fs::is_directory(link)) {
      CollectFolder(child, inputs, errors);
    } else if (fs::is_regular_file(target)) {
      inputs.paths.push_back(child.string());
    } else if (fs::is_directory(target)) {
      Skip(inputs, errors, child.string(), "a link to a folder is not followed");
    } else if (!fs::exists(target)) {
      Skip(inputs, errors, child.string(), "a link that leads nowhere");
    } else {
      Skip(inputs, errors, child.string(), "not a regular file");
    }
  }
}

}  // namespace

InputFiles CollectInputs(const std::vector<std::string>& arguments, std::ostream& errors) {
  InputFiles inputs;
  for (const std::string& argument : arguments) {
    std::error_code error;
    const fs::file_status status = fs::status(argument, error);
    if (error) {
      Skip(inputs, errors, argument, error.message());
    } else if (fs::is_directory(status)) {
      CollectFolder(argument, inputs, errors);
    } else if (fs::is_regular_file(status)) {
      inputs.paths.push_back(argument);
    } else {
      Skip(inputs, errors, argument, "not a regular file");
    }
  }
  return inputs;
}

UniqueFd OpenRegularFile(const std::string& path, std::string& why) {
  // Non-blocking, so that a pipe put in the file's place cannot hold us up.
  UniqueFd fd = OwnFd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    why = std::strerror(errno);
    return fd;
  }
  struct stat info;
  if (fstat(fd.get().number(), &info) != 0 || !S_ISREG(info.st_mode)) {
    why = "not a regular file";
    return UniqueFd();
  }
  return fd;
}

bool ReadHead(int fd, std::string& bytes, std::string& why) {
  std::size_t used = 0;
  while (used < bytes.size()) {
    const ssize_t n = pread(fd, bytes.data() + used, bytes.size() - used, static_cast<off_t>(used));
    if (n > 0) {
      used += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      why = std::strerror(errno);
      return false;
    }
  }
  bytes.resize(used);
  return true;
}

bool ReadWhole(int fd, std::string& bytes, std::string& why) {
  bytes.clear();
  struct stat info;
  if (fstat(fd, &info) == 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  if (lseek(fd, 0, SEEK_SET) != 0) {
    why = std::strerror(errno);
    return false;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      return true;
    } else if (errno != EINTR) {
      why = std::strerror(errno);
      return false;
    }
  }
}
