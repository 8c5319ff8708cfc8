// The stream GMime's parser reads a mail file through. GMime's own file stream
// makes an lseek and a read for every 4 KB the parser asks for (two system
// calls per 4 KB of an mbox of hundreds of megabytes); this one reads a
// megabyte at a time with pread and hands the parser its 4 KB from there.
#ifndef TARVOLO_RESULTS_READ_BUFFERED_FILE_STREAM_H
#define TARVOLO_RESULTS_READ_BUFFERED_FILE_STREAM_H

#include <gmime/gmime.h>

// A stream over the open file fd from its start, which it reads but never
// closes. Its substreams (a part's content, which the parser keeps as a place
// in the file) are GMime's own file streams over the same fd.
GMimeStream* NewBufferedFileStream(int fd);

#endif
