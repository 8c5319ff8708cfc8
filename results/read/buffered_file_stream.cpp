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
  char* cache;  // kCacheBytes, holding the file from cacheStart on
  gint64 cacheStart;
  gint64 cacheLength;
  gboolean eof;  // a read met the end of the file
};

struct BufferedFileStreamClass {
  GMimeStreamClass parent;
};

gpointer parentClass = nullptr;

BufferedFileStream* Self(GMimeStream* stream) {
  return reinterpret_cast<BufferedFileStream*>(stream);
}

// Brings the bytes at position into the cache; false on a read error.
bool Fill(BufferedFileStream* self, gint64 position) {
  if (position >= self->cacheStart && position < self->cacheStart + self->cacheLength) return true;
  ssize_t read;
  do {
    read = pread(self->fd, self->cache, kCacheBytes, static_cast<off_t>(position));
  } while (read < 0 && errno == EINTR);
  if (read < 0) return false;
  self->cacheStart = position;
  self->cacheLength = read;
  return true;
}

ssize_t Read(GMimeStream* stream, char* buffer, size_t length) {
  BufferedFileStream* self = Self(stream);
  if (stream->bound_end != -1) {
    if (stream->position >= stream->bound_end) return -1;
    length =
        static_cast<size_t>(MIN(static_cast<gint64>(length), stream->bound_end - stream->position));
  }
  if (!Fill(self, stream->position)) return -1;
  const gint64 offset = stream->position - self->cacheStart;
  const size_t count =
      self->cacheLength > offset ? MIN(length, static_cast<size_t>(self->cacheLength - offset)) : 0;
  if (count == 0) {
    self->eof = TRUE;
    return 0;
  }
  std::memcpy(buffer, self->cache + offset, count);
  stream->position += static_cast<gint64>(count);
  return static_cast<ssize_t>(count);
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

GMimeStream* Substream(GMimeStream* stream, gint64 start, gint64 end) {
  GMimeStream* part = g_mime_stream_fs_new_with_bounds(Self(stream)->fd, start, end);
  g_mime_stream_fs_set_owner(GMIME_STREAM_FS(part), FALSE);
  return part;
}

void Finalize(GObject* object) {
  g_free(Self(GMIME_STREAM(object))->cache);
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

}  // namespace

GMimeStream* NewBufferedFileStream(int fd) {
  auto* self = static_cast<BufferedFileStream*>(g_object_new(BufferedFileStreamType(), nullptr));
  self->fd = fd;
  self->cache = static_cast<char*>(g_malloc(kCacheBytes));
  self->cacheStart = 0;
  self->cacheLength = 0;
  self->eof = FALSE;
  g_mime_stream_construct(&self->parent, 0, -1);
  return &self->parent;
}
