// The report file in the native build: an advisory lock (flock) keeps out every
// other writer that asks for it until the entry is in.
#include "report/append_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

CAppendFile::OpenResult CAppendFile::Open(const char* path) {
  // Non-blocking, so that a pipe without a reader cannot hold the program up.
  int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) return OpenResult::kFailed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? OpenResult::kBusy : OpenResult::kFailed;
  }
  m_file = fd;
  return OpenResult::kOpened;
}

bool CAppendFile::IsDiskFile() const {
  struct stat status;
  return ::fstat(static_cast<int>(m_file), &status) == 0 && S_ISREG(status.st_mode);
}

long long CAppendFile::Length() const {
  struct stat status;
  return ::fstat(static_cast<int>(m_file), &status) == 0 ? status.st_size : -1;
}

std::size_t CAppendFile::Write(const char* bytes, std::size_t count) {
  ssize_t written = ::write(static_cast<int>(m_file), bytes, count);
  return written > 0 ? static_cast<std::size_t>(written) : 0;
}

bool CAppendFile::CutBack(long long length) {
  return ::ftruncate(static_cast<int>(m_file), static_cast<off_t>(length)) == 0;
}

bool CAppendFile::Close() {
  if (m_file == -1) return true;
  bool ok = ::close(static_cast<int>(m_file)) == 0;
  m_file = -1;
  return ok;
}
