// The report file on Windows: opened with a share mode that lets other programs
// read it but not write to it until the entry is in.
#include "report/append_file.h"

#include <windows.h>

#include <string>

namespace {

HANDLE AsHandle(std::intptr_t file) {
  return reinterpret_cast<HANDLE>(file);
}

// The path in UTF-16; empty when it is not UTF-8.
std::wstring WidePath(const char* path) {
  int nUnits = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
  if (nUnits <= 1) return L"";
  std::wstring wide(static_cast<size_t>(nUnits), L'\0');
  nUnits = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, &wide[0], nUnits);
  wide.resize(nUnits > 0 ? static_cast<size_t>(nUnits) - 1 : 0);
  return wide;
}

}  // namespace

CAppendFile::OpenResult CAppendFile::Open(const char* path) {
  const std::wstring widePath = WidePath(path);
  if (widePath.empty()) return OpenResult::kFailed;
  HANDLE hFile = ::CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
