#include "results/read/buffered_file_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kCacheBytes = std::size_t{1} << 20;

struct BufferedFileStream {
  GMimeStream parent;
  int fd;
  char* cache;  // kCacheBytes, holding the file from cacheStart on; none in a substream
  gint64 cacheStart;
  gint64 cacheLength;
  // A substream (a part's content) reads from the cache of the stream it was cut
  // from, where the parser has just read it, else straight from the file.
  BufferedFileStream* source;
  gboolean eof;  // a read met the end of the file
};

struct BufferedFileStreamClass {
  GMimeStreamClass parent;
};

gpointer parentClass = nullptr;

BufferedFileStream* Self(GMimeStream* stream) {
  return reinterpret_cast<BufferedFileStream*>(stream);
}

// Every read is a pread at the stream's own position: streams over the same
// file, on one thread or several, never move a shared file offset.
ssize_t ReadFile(int fd, char* buffer, size_t length, gint64 position) {
  ssize_t read;
  do {
    read = pread(fd, buffer, length, static_cast<off_t>(position));
  } while (read < 0 && errno == EINTR);
  return read;
}

bool Holds(const BufferedFileStream* self, gint64 position) {
  return position >= self->cacheStart && position < self->cacheStart + self->cacheLength;
}

// Copies from the cache what it holds at position; 0 when it holds nothing there.
size_t FromCache(const BufferedFileStream* self, char* buffer, size_t length, gint64 position) {
  if (!Holds(self, position)) return 0;
  const gint64 offset = position - self->cacheStart;
  const size_t count = MIN(length, static_cast<size_t>(self->cacheLength - offset));
  std::memcpy(buffer, self->cache + offset, count);
  return count;
}

ssize_t Read(GMimeStream* stream, char* buffer, size_t length) {
  BufferedFileStream* self = Self(stream);
  if (stream->bound_end != -1) {
    if (stream->position >= stream->bound_end) return -1;
    length =
        static_cast<size_t>(MIN(static_cast<gint64>(length), stream->bound_end - stream->position));
  }
  ssize_t count;
  if (self->source != nullptr) {
    count = static_cast<ssize_t>(FromCache(self->source, buffer, length, stream->position));
    if (count == 0) count = ReadFile(self->fd, buffer, length, stream->position);
  } else {
    if (!Holds(self, stream->position) && length > 0) {
      const ssize_t filled = ReadFile(self->fd, self->cache, kCacheBytes, stream->position);
      if (filled < 0) return -1;
      self->cacheStart = stream->position;
      self->cacheLength = filled;
    }
    count = static_cast<ssize_t>(FromCache(self, buffer, length, stream->position));
  }
  if (count < 0) return -1;
  if (count == 0) {
    self->eof = TRUE;
    return 0;
  }
  stream->position += count;
  return count;
}

ssize_t Write(GMimeStream*, const char*, size_t) {
  errno = EBADF;
  return -1;
}

int Nothing(GMimeStream*) {
  return 0;
}

gboolean Eos(GMimeStream* stream) {
  if (stream->bound_end == -1) return Self(stream)->eof;
  return stream->position >= stream->bound_end;
}

int Reset(GMimeStream* stream) {
  stream->position = stream->bound_start;
  Self(stream)->eof = FALSE;
  return 0;
}

gint64 Length(GMimeStream* stream) {
  if (stream->bound_end != -1) return stream->bound_end - stream->bound_start;
  struct stat info;
  if (fstat(Self(stream)->fd, &info) != 0) return -1;
  return static_cast<gint64>(info.st_size) - stream->bound_start;
}

gint64 Seek(GMimeStream* stream, gint64 offset, GMimeSeekWhence whence) {
  gint64 position = offset;
  if (whence == GMIME_STREAM_SEEK_CUR) position = stream->position + offset;
  if (whence == GMIME_STREAM_SEEK_END) {
    const gint64 length = Length(stream);
    if (length < 0) return -1;
    position = stream->bound_start + length + offset;
  }
  if (position < stream->bound_start || (stream->bound_end != -1 && position > stream->bound_end)) {
    errno = EINVAL;
    return -1;
  }
  stream->position = position;
  Self(stream)->eof = FALSE;
  return position;
}

gint64 Tell(GMimeStream* stream) {
  return stream->position;
}

GMimeStream* NewStream(int fd, BufferedFileStream* source, gint64 start, gint64 end);

GMimeStream* Substream(GMimeStream* stream, gint64 start, gint64 end) {
  BufferedFileStream* self = Self(stream);
  return NewStream(self->fd, self->source != nullptr ? self->source : self, start, end);
}

void Finalize(GObject* object) {
  BufferedFileStream* self = Self(GMIME_STREAM(object));
  g_free(self->cache);
  if (self->source != nullptr) g_object_unref(self->source);
  G_OBJECT_CLASS(parentClass)->finalize(object);
}

void ClassInit(gpointer klass, gpointer) {
  parentClass = g_type_class_peek_parent(klass);
  G_OBJECT_CLASS(klass)->finalize = Finalize;
  GMimeStreamClass* methods = GMIME_STREAM_CLASS(klass);
  methods->read = Read;
  methods->write = Write;
  methods->flush = Nothing;
  methods->close = Nothing;
  methods->eos = Eos;
  methods->reset = Reset;
  methods->seek = Seek;
  methods->tell = Tell;
  methods->length = Length;
  methods->substream = Substream;
}

GType BufferedFileStreamType() {
  static const GType type = g_type_register_static_simple(
      GMIME_TYPE_STREAM, "TarvoloBufferedFileStream", sizeof(BufferedFileStreamClass), ClassInit,
      sizeof(BufferedFileStream), nullptr, static_cast<GTypeFlags>(0));
  return type;
}

GMimeStream* NewStream(int fd, BufferedFileStream* source, gint64 start, gint64 end) {
  auto* self = static_cast<BufferedFileStream*>(g_object_new(BufferedFileStreamType(), nullptr));
  self->fd = fd;
  self->cache = source == nullptr ? static_cast<char*>(g_malloc(kCacheBytes)) : nullptr;
  self->cacheStart = 0;
  self->cacheLength = 0;
  self->source =
      source != nullptr ? static_cast<BufferedFileStream*>(g_object_ref(source)) : nullptr;
  self->eof = FALSE;
  g_mime_stream_construct(&self->parent, start, end);
  return &self->parent;
}

}  // namespace

GMimeStream* NewBufferedFileStream(int fd, gint64 start) {
  return NewStream(fd, nullptr, start, -1);
}
