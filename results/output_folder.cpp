#include "results/output_folder.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

bool MakeFolder(const std::string& folder, std::string& why) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!error && std::filesystem::is_directory(folder, error)) return true;
  why = error ? error.message() : "not a folder";
  return false;
}

bool WriteIntoFolder(const std::string& folder, const std::string& name, const std::string& bytes,
                     std::string& why) {
  const std::string target = folder + "/" + name;
  std::string pattern = folder + "/." + name + ".XXXXXX";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  bool ok = fchmod(fd, 0644) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      ok = false;
    }
  }
  if (!ok) why = std::strerror(errno);
  ok = close(fd) == 0 && ok;
  if (ok && std::rename(temporary.data(), target.c_str()) != 0) {
    why = std::strerror(errno);
    ok = false;
  }
  if (!ok) unlink(temporary.data());
  return ok;
}
