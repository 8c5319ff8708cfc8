// A mail part's content read a buffer at a time from the mail's own stream, its
// transfer encoding undone on the way: for a part that holds no report neither
// the encoded nor the decoded whole is ever held, and base64 is checked as it
// passes.
#ifndef TARVOLO_RESULTS_READ_PART_CONTENT_H
#define TARVOLO_RESULTS_READ_PART_CONTENT_H

#include <gmime/gmime.h>

#include <cstddef>
#include <string>

#include "results/read/owners.h"

// The largest part read as a text: far beyond any report file or mail text,
// and small enough that its decoding stays within memory.
inline constexpr std::size_t kMaxTextPartBytes = std::size_t{32} << 20;

enum class PartOutcome {
  kRead,      // bytes hold the decoded content
  kNotText,   // by its first bytes, a picture, an archive or other data
  kTooLarge,  // more than kMaxTextPartBytes decoded
};

struct PartContent {
  PartOutcome outcome = PartOutcome::kRead;
  std::string bytes;
  bool damaged = false;  // bad base64, or the content could not be read to its end
};

// The filters that undo a transfer encoding, made once for many parts (each
// allocates its buffers as it goes) and reset before each.
class TransferDecoders {
 public:
  // None for 7bit, 8bit and binary.
  GMimeFilter* For(GMimeContentEncoding encoding);

 private:
  GObjectPtr<GMimeFilter> base64_, quotedPrintable_, uuencode_;
};

// sniff: the declared type says nothing of the content (application/octet-
// stream), so its first bytes decide whether it is read at all.
PartContent ReadPartContent(GMimePart* part, bool sniff, TransferDecoders& decoders);

#endif
