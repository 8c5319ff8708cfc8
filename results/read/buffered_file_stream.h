// The stream GMime's parser reads a mail file through. GMime's own file stream
// makes an lseek and a read for every 4 KB the parser asks for (two system
// calls per 4 KB of an mbox of hundreds of megabytes); this one reads a
// megabyte at a time with pread and hands the parser its 4 KB from there.
// Nothing moves the file's offset, so that several may read one file at once.
#ifndef TARVOLO_RESULTS_READ_BUFFERED_FILE_STREAM_H
#define TARVOLO_RESULTS_READ_BUFFERED_FILE_STREAM_H

#include <gmime/gmime.h>

// A stream over the open file fd from byte start on, which it reads but never
// closes; offsets are the file's. Its substreams (a part's content, which the
// parser keeps as a place in the file) read through it.
GMimeStream* NewBufferedFileStream(int fd, gint64 start = 0);

#endif
