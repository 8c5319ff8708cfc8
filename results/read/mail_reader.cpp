#include "results/read/mail_reader.h"

#include <gmime/gmime.h>
#include <unistd.h>

#include <string>

#include "results/read/owners.h"
#include "results/read/text_lines.h"

namespace {

// A header field's name: printable ASCII but the colon, then the colon.
bool IsHeaderField(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] > ' ' && line[i] < 0x7F && line[i] != ':') ++i;
  return i > 0 && i < line.size() && line[i] == ':';
}

bool IsMailField(std::string_view line) {
  static const std::string_view kFields[] = {
      "from:",         "to:",       "subject:",     "date:",         "message-id:",
      "mime-version:", "received:", "return-path:", "content-type:", "delivered-to:"};
  for (std::string_view field : kFields) {
    if (line.size() >= field.size() &&
        g_ascii_strncasecmp(line.data(), field.data(), field.size()) == 0) {
      return true;
    }
  }
  return false;
}

// A mail's header: field lines (and their folded continuations) from the first
// line on, one of them a field every mail has.
bool StartsWithMailHeader(std::string_view text) {
  bool mailField = false;
  for (bool first = true; !text.empty(); first = false) {
    const std::string_view line = TakeLine(text);
    if (line.empty()) break;
    const bool folded = !first && (line[0] == ' ' || line[0] == '\t');
    if (!folded && !IsHeaderField(line)) return false;
    mailField = mailField || (!folded && IsMailField(line));
  }
  return mailField;
}

// Base64 as a mail may carry it: the alphabet, line breaks, padding at the end
// only. GMime's decoder passes over anything else without a word.
bool IsWellFormedBase64(const GByteArray* raw) {
  std::size_t count = 0, padding = 0;
  for (guint i = 0; i < raw->len; ++i) {
    const unsigned char c = raw->data[i];
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t') continue;
    const bool alphabet = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '+' || c == '/';
    if (c == '=') {
      ++padding;
    } else if (!alphabet || padding > 0) {
      return false;
    }
    ++count;
  }
  return count % 4 == 0 && padding <= 2;
}

// An mbox writer quotes a body line starting "From " as ">From " (and mboxrd
// ">From " as ">>From "): one '>' of such a line is taken off again.
std::string UndoFromQuoting(std::string_view text) {
  std::string undone;
  undone.reserve(text.size());
  while (!text.empty()) {  // at the start of a line
    if (text[0] == '>') {
      const std::size_t quotes = text.find_first_not_of('>');
      if (quotes != std::string_view::npos && text.substr(quotes, 5) == "From ") {
        text.remove_prefix(1);
      }
    }
    const std::size_t end = text.find('\n');
    const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
    undone.append(text.data(), length);
    text.remove_prefix(length);
  }
  return undone;
}

GByteArray* BytesOf(GMimeStream* memory) {
  return g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory));
}

bool IsType(GMimeObject* object, const char* type, const char* subtype) {
  GMimeContentType* contentType = g_mime_object_get_content_type(object);
  return contentType != nullptr && g_mime_content_type_is_type(contentType, type, subtype);
}

// Deeper than any mail program nests: a mail built to exhaust the stack stops here.
constexpr int kMaxDepth = 64;

class MessageReader {
 public:
  MessageReader(bool fromMbox, const std::function<void(const TextPart&)>& each)
      : fromMbox_(fromMbox), each_(each) {}

  // Set by the parser's warnings while it builds the message.
  void NoteDamage() { damaged_ = true; }

  void Read(GMimeMessage* message) {
    Walk(g_mime_message_get_mime_part(message), 0);
    damaged_ = false;
  }

 private:
  void Walk(GMimeObject* object, int depth) {
    if (object == nullptr || depth > kMaxDepth) return;
    if (GMIME_IS_MESSAGE_PART(object)) {
      GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
      if (inner != nullptr) Walk(g_mime_message_get_mime_part(inner), depth + 1);
    } else if (GMIME_IS_MULTIPART(object)) {
      WalkMultipart(GMIME_MULTIPART(object), depth);
    } else if (GMIME_IS_PART(object)) {
      ReadPart(GMIME_PART(object));
    }
  }

  void WalkMultipart(GMimeMultipart* multipart, int depth) {
    const int count = g_mime_multipart_get_count(multipart);
    if (count <= 0) {
      // No boundary found: what the parser read stands in the prologue.
      const char* prologue = g_mime_multipart_get_prologue(multipart);
      if (prologue != nullptr) Deliver(prologue, "", false, false);
      return;
    }
    if (!IsType(GMIME_OBJECT(multipart), "multipart", "alternative")) {
      for (int i = 0; i < count; ++i) Walk(g_mime_multipart_get_part(multipart, i), depth + 1);
      return;
    }
    // One report in several forms: the plain one, else the HTML one, read once.
    GMimeObject* chosen = nullptr;
    for (const char* subtype : {"plain", "html", "*"}) {
      for (int i = 0; i < count && chosen == nullptr; ++i) {
        GMimeObject* part = g_mime_multipart_get_part(multipart, i);
        if (IsType(part, subtype[0] == '*' ? "multipart" : "text", subtype)) chosen = part;
      }
    }
    Walk(chosen != nullptr ? chosen : g_mime_multipart_get_part(multipart, 0), depth + 1);
  }

  void ReadPart(GMimePart* part) {
    GMimeObject* object = GMIME_OBJECT(part);
    const bool html = IsType(object, "text", "html");
    if (!IsType(object, "text", "*") && !IsType(object, "application", "octet-stream")) return;
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (content == nullptr) return;
    const GObjectPtr<GMimeStream> decoded(g_mime_stream_mem_new());
    bool damaged = g_mime_data_wrapper_write_to_stream(content, decoded.get()) < 0;
    const bool base64 = g_mime_data_wrapper_get_encoding(content) == GMIME_CONTENT_ENCODING_BASE64;
    if (base64) {
      const GObjectPtr<GMimeStream> raw(g_mime_stream_mem_new());
      GMimeStream* encoded = g_mime_data_wrapper_get_stream(content);
      damaged = damaged || g_mime_stream_reset(encoded) < 0 ||
                g_mime_stream_write_to_stream(encoded, raw.get()) < 0 ||
                !IsWellFormedBase64(BytesOf(raw.get()));
    }
    const GByteArray* bytes = BytesOf(decoded.get());
    std::string_view text(reinterpret_cast<const char*>(bytes->data), bytes->len);
    const char* charset = g_mime_object_get_content_type_parameter(object, "charset");
    if (fromMbox_ && !base64) {
      Deliver(UndoFromQuoting(text), charset != nullptr ? charset : "", html, damaged);
    } else {
      Deliver(text, charset != nullptr ? charset : "", html, damaged);
    }
  }

  void Deliver(std::string_view text, std::string_view charset, bool html, bool damaged) {
    each_(TextPart{text, charset, html, damaged || damaged_});
  }

  const bool fromMbox_;
  const std::function<void(const TextPart&)>& each_;
  bool damaged_ = false;
};

// The parser's warnings that mean a message is not whole; the others (a
// repeated header, an odd address) leave its text as it was sent.
void OnParserWarning(gint64, GMimeParserWarning warning, const gchar*, gpointer reader) {
  switch (warning) {
    case GMIME_WARN_MALFORMED_MULTIPART:
    case GMIME_WARN_TRUNCATED_MESSAGE:
    case GMIME_WARN_MALFORMED_MESSAGE:
    case GMIME_CRIT_MULTIPART_WITHOUT_BOUNDARY:
    case GMIME_CRIT_NESTING_OVERFLOW:
    case GMIME_CRIT_PART_WITHOUT_HEADERS_OR_CONTENT:
      static_cast<MessageReader*>(reader)->NoteDamage();
      break;
    default:
      break;
  }
}

}  // namespace

FileKind KindOfFile(std::string_view head) {
  // Whole lines only: a header field cut by the end of the head is no evidence.
  head = head.substr(0, head.rfind('\n') + 1);
  if (head.substr(0, 5) == "From ") {
    std::string_view rest = head;
    TakeLine(rest);
    return StartsWithMailHeader(rest) ? FileKind::kMbox : FileKind::kText;
  }
  return StartsWithMailHeader(head) ? FileKind::kMessage : FileKind::kText;
}

std::size_t ReadMail(int fd, FileKind kind, const std::function<void(const TextPart&)>& each) {
  static const bool initialised = (g_mime_init(), true);
  static_cast<void>(initialised);
  if (kind == FileKind::kText || lseek(fd, 0, SEEK_SET) != 0) return 0;

  // The parser reads the file through a stream and keeps no part's content in
  // memory: a message at a time is held, however large the mbox.
  const GObjectPtr<GMimeStream> stream(g_mime_stream_fs_new(fd));
  g_mime_stream_fs_set_owner(GMIME_STREAM_FS(stream.get()), FALSE);
  const GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
  g_mime_parser_set_format(parser.get(),
                           kind == FileKind::kMbox ? GMIME_FORMAT_MBOX : GMIME_FORMAT_MESSAGE);
  g_mime_parser_set_persist_stream(parser.get(), TRUE);

  MessageReader reader(kind == FileKind::kMbox, each);
  const ParserOptionsPtr options(g_mime_parser_options_new());
  g_mime_parser_options_set_warning_callback(options.get(), OnParserWarning, &reader);

  std::size_t messages = 0;
  while (!g_mime_parser_eos(parser.get())) {
    const GObjectPtr<GMimeMessage> message(
        g_mime_parser_construct_message(parser.get(), options.get()));
    if (!message) break;
    ++messages;
    reader.Read(message.get());
    if (kind == FileKind::kMessage) break;
  }
  return messages;
}
