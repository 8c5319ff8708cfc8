// Every handle the tool takes from a library or the system (a GObject, a
// libxml2 document, a file descriptor, a converter, a libmagic cookie) has one owner: a
// std::unique_ptr with the deleter that releases it, so that it is released on
// every path out and can be moved but never copied.
#ifndef TARVOLO_RESULTS_READ_OWNERS_H
#define TARVOLO_RESULTS_READ_OWNERS_H

#include <gmime/gmime.h>
#include <iconv.h>
#include <libxml/tree.h>
#include <magic.h>
#include <unicode/ucnv.h>
#include <unistd.h>

#include <cstddef>
#include <memory>

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct ParserOptionsFree {
  void operator()(GMimeParserOptions* options) const { g_mime_parser_options_free(options); }
};

using ParserOptionsPtr = std::unique_ptr<GMimeParserOptions, ParserOptionsFree>;

struct XmlDocFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

// A file descriptor in the place of unique_ptr's pointer: -1 is none.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  FileDescriptor(std::nullptr_t) {}  // NOLINT: what unique_ptr resets to
  explicit FileDescriptor(int fd) : fd_(fd < 0 ? -1 : fd) {}
  int number() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  friend bool operator==(FileDescriptor a, FileDescriptor b) { return a.fd_ == b.fd_; }
  friend bool operator!=(FileDescriptor a, FileDescriptor b) { return a.fd_ != b.fd_; }

 private:
  int fd_ = -1;
};

struct FdClose {
  using pointer = FileDescriptor;
  void operator()(FileDescriptor fd) const { close(fd.number()); }
};

using UniqueFd = std::unique_ptr<FileDescriptor, FdClose>;

inline UniqueFd OwnFd(int fd) {
  return UniqueFd(FileDescriptor(fd));
}

struct IconvClose {
  void operator()(void* converter) const { iconv_close(static_cast<iconv_t>(converter)); }
};

using IconvPtr = std::unique_ptr<void, IconvClose>;

// iconv_open's converter, or none when the C library lacks it.
inline IconvPtr OpenIconv(const char* to, const char* from) {
  const iconv_t converter = iconv_open(to, from);
  return IconvPtr(converter == reinterpret_cast<iconv_t>(-1) ? nullptr : converter);
}

struct ConverterClose {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

using ConverterPtr = std::unique_ptr<UConverter, ConverterClose>;

struct MagicClose {
  void operator()(magic_set* cookie) const { magic_close(cookie); }
};

using MagicPtr = std::unique_ptr<magic_set, MagicClose>;

#endif
