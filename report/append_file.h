// The report file while one entry is appended to it: the platform's part of the
// entry writer. It is opened so that no other writer adds to it meanwhile (a share
// mode that denies writing on Windows, an advisory lock elsewhere), and closed when
// the object goes.
#ifndef TARVOLO_REPORT_APPEND_FILE_H
#define TARVOLO_REPORT_APPEND_FILE_H

#include <cstddef>
#include <cstdint>

class CAppendFile {
 public:
  enum class OpenResult {
    kOpened,
    kBusy,    // another writer has the file just now; it may be free in a moment
    kFailed,  // missing folder, no access, a folder, ...
  };

  CAppendFile() {}
  ~CAppendFile() { Close(); }
  CAppendFile(const CAppendFile&) = delete;
  CAppendFile& operator=(const CAppendFile&) = delete;

  // Opens the file at path (UTF-8) for writing at its end, creating it when
  // missing. The path names one file exactly, whatever its characters: on Windows
  // it is opened by its UTF-16 form, never through the code page.
  OpenResult Open(const char* path);
  // False for anything but a regular file on disk: a device (NUL, COM1, CON), a pipe.
  bool IsDiskFile() const;
  // The file's length in bytes now, or -1.
  long long Length() const;
  // Writes the bytes at the end of the file by one write; returns how many of them
  // reached the file.
  std::size_t Write(const char* bytes, std::size_t count);
  bool CutBack(long long length);
  // Closes the file (and so lets other writers in); false when closing failed.
  bool Close();

 private:
  // A HANDLE on Windows, a file descriptor elsewhere; -1 (which is also Windows'
  // INVALID_HANDLE_VALUE) when no file is open.
  std::intptr_t m_file = -1;
};

#endif
