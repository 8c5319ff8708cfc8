// The report file on Windows: opened with a share mode that lets other programs
// read it but not write to it until the entry is in.
#include "report/append_file.h"

#include <windows.h>

namespace {

HANDLE AsHandle(std::intptr_t file) {
  return reinterpret_cast<HANDLE>(file);
}

}  // namespace

CAppendFile::OpenResult CAppendFile::Open(const char* path) {
  HANDLE hFile = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) {
    // Someone has it open for writing (or without sharing at all).
    return ::GetLastError() == ERROR_SHARING_VIOLATION ? OpenResult::kBusy : OpenResult::kFailed;
  }
  m_file = reinterpret_cast<std::intptr_t>(hFile);
  return OpenResult::kOpened;
}

bool CAppendFile::IsDiskFile() const {
  return ::GetFileType(AsHandle(m_file)) == FILE_TYPE_DISK;
}

long long CAppendFile::Length() const {
  LARGE_INTEGER size;
  return ::GetFileSizeEx(AsHandle(m_file), &size) ? size.QuadPart : -1;
}

std::size_t CAppendFile::Write(const char* bytes, std::size_t count) {
  LARGE_INTEGER end = {};
  if (!::SetFilePointerEx(AsHandle(m_file), end, nullptr, FILE_END)) return 0;
  DWORD written = 0;
  ::WriteFile(AsHandle(m_file), bytes, static_cast<DWORD>(count), &written, nullptr);
  return written;
}

bool CAppendFile::CutBack(long long length) {
  LARGE_INTEGER at;
  at.QuadPart = length;
  return ::SetFilePointerEx(AsHandle(m_file), at, nullptr, FILE_BEGIN) &&
         ::SetEndOfFile(AsHandle(m_file));
}

bool CAppendFile::Close() {
  if (m_file == -1) return true;
  bool ok = ::CloseHandle(AsHandle(m_file)) != FALSE;
  m_file = -1;
  return ok;
}
