#include "results/read/part_content.h"

#include <string_view>

#include "results/read/content_sniffer.h"
#include "results/read/owners.h"

namespace {

// Enough of an attachment for libmagic and the look of its bytes.
constexpr std::size_t kSniffBytes = 16384;

enum Kind : unsigned char { kOther, kLetter, kPadding, kSpace };

// Each byte's kind in base64: its alphabet, padding, line breaks and blanks.
struct Base64Kinds {
  constexpr Base64Kinds() {
    for (int c = 'A'; c <= 'Z'; ++c) of[c] = kLetter;
    for (int c = 'a'; c <= 'z'; ++c) of[c] = kLetter;
    for (int c = '0'; c <= '9'; ++c) of[c] = kLetter;
    of[static_cast<unsigned char>('+')] = of[static_cast<unsigned char>('/')] = kLetter;
    of[static_cast<unsigned char>('=')] = kPadding;
    for (char c : {'\r', '\n', ' ', '\t'}) of[static_cast<unsigned char>(c)] = kSpace;
  }
  Kind of[256] = {};
};
constexpr Base64Kinds kKinds;

// Base64 as a mail may carry it: the alphabet, line breaks, padding at the end
// only. GMime's decoder passes over anything else without a word.
class Base64Check {
 public:
  void Feed(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      const Kind kind = kKinds.of[static_cast<unsigned char>(bytes[i])];
      // Without a branch a byte: most parts are base64 through and through.
      broken_ |= kind == kOther || (kind == kLetter && padding_ > 0);
      padding_ += kind == kPadding;
      count_ += kind != kSpace;
    }
  }
  bool WellFormed() const { return !broken_ && count_ % 4 == 0 && padding_ <= 2; }

 private:
  std::size_t count_ = 0, padding_ = 0;
  bool broken_ = false;
};

}  // namespace

GMimeFilter* TransferDecoders::For(GMimeContentEncoding encoding) {
  GObjectPtr<GMimeFilter>* decoder = nullptr;
  switch (encoding) {
    case GMIME_CONTENT_ENCODING_BASE64:
      decoder = &base64_;
      break;
    case GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE:
      decoder = &quotedPrintable_;
      break;
    case GMIME_CONTENT_ENCODING_UUENCODE:
      decoder = &uuencode_;
      break;
    default:
      return nullptr;
  }
  if (*decoder) {
    g_mime_filter_reset(decoder->get());
  } else {
    decoder->reset(g_mime_filter_basic_new(encoding, FALSE));
  }
  return decoder->get();
}

PartContent ReadPartContent(GMimePart* part, bool sniff, TransferDecoders& decoders) {
  PartContent content;
  GMimeDataWrapper* wrapper = g_mime_part_get_content(part);
  GMimeStream* stream = wrapper != nullptr ? g_mime_data_wrapper_get_stream(wrapper) : nullptr;
  if (stream == nullptr) return content;
  const GMimeContentEncoding encoding = g_mime_data_wrapper_get_encoding(wrapper);
  GMimeFilter* const decoder = decoders.For(encoding);
  Base64Check base64;
  bool sniffed = !sniff;
  const auto decided = [&]() {
    sniffed = true;
    if (MayBeText(std::string_view(content.bytes).substr(0, kSniffBytes))) return false;
    content.outcome = PartOutcome::kNotText;
    return true;
  };
  const auto append = [&](const char* bytes, std::size_t count) {
    if (count > 0) content.bytes.append(bytes, count);  // a filter may give no buffer at all
    if (!sniffed && content.bytes.size() >= kSniffBytes && decided()) return false;
    if (content.bytes.size() <= kMaxTextPartBytes) return true;
    content.outcome = PartOutcome::kTooLarge;
    return false;
  };

  content.damaged = g_mime_stream_reset(stream) < 0;
  char buffer[65536];
  bool going = !content.damaged;
  // A substream of the mail's file says -1 when read at its end.
  while (going && !g_mime_stream_eos(stream)) {
    const gssize read = g_mime_stream_read(stream, buffer, sizeof buffer);
    if (read <= 0) {
      content.damaged = content.damaged || read < 0;
      break;
    }
    const std::size_t count = static_cast<std::size_t>(read);
    if (encoding == GMIME_CONTENT_ENCODING_BASE64) base64.Feed(buffer, count);
    if (!decoder) {
      going = append(buffer, count);
      continue;
    }
    char* out = nullptr;
    std::size_t outCount = 0, outPrespace = 0;
    g_mime_filter_filter(decoder, buffer, count, 0, &out, &outCount, &outPrespace);
    going = append(out, outCount);
  }
  if (going && decoder) {
    char* out = nullptr;
    std::size_t outCount = 0, outPrespace = 0;
    g_mime_filter_complete(decoder, buffer, 0, 0, &out, &outCount, &outPrespace);
    going = append(out, outCount);
  }
  if (going && !sniffed) decided();
  if (content.outcome != PartOutcome::kRead) {
    std::string().swap(content.bytes);
    return content;
  }
  content.damaged =
      content.damaged || (encoding == GMIME_CONTENT_ENCODING_BASE64 && !base64.WellFormed());
  return content;
}
