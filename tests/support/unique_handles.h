// Owners for what a test or benchmark opens: each closes its handle once, when
// it goes, also when an assertion leaves the test early.
#ifndef TARVOLO_TESTS_SUPPORT_UNIQUE_HANDLES_H
#define TARVOLO_TESTS_SUPPORT_UNIQUE_HANDLES_H

#include <windows.h>

#include <cstdio>
#include <memory>

// A kernel handle (a process, a thread, a file, a snapshot). Functions that fail
// with INVALID_HANDLE_VALUE rather than null: compare get() with it.
struct KernelHandleCloser {
  void operator()(HANDLE hObject) const {
    if (hObject != INVALID_HANDLE_VALUE) ::CloseHandle(hObject);
  }
};
using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;

// A search of FindFirstFile.
struct FindCloser {
  void operator()(HANDLE hFind) const {
    if (hFind != INVALID_HANDLE_VALUE) ::FindClose(hFind);
  }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

#endif
