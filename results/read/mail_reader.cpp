#include "results/read/mail_reader.h"

#include <gmime/gmime.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "results/read/buffered_file_stream.h"
#include "results/read/owners.h"
#include "results/read/part_content.h"
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

bool IsType(GMimeObject* object, const char* type, const char* subtype) {
  GMimeContentType* contentType = g_mime_object_get_content_type(object);
  return contentType != nullptr && g_mime_content_type_is_type(contentType, type, subtype);
}

// Deeper than any mail program nests: a mail built to exhaust the stack stops here.
constexpr int kMaxDepth = 64;

// Which mail a message is, in words: its Message-ID, and in an mbox its place.
std::string MailNamed(GMimeMessage* message, bool inMbox, std::size_t number, gint64 offset) {
  const char* id = g_mime_message_get_message_id(message);
  std::string named =
      id != nullptr ? "the mail <" + std::string(id) + ">" : "a mail without Message-ID";
  if (inMbox) {
    named += ", mail " + std::to_string(number) + " of the mbox (its From line at byte " +
             std::to_string(offset) + ")";
  }
  return named;
}

class MessageReader {
 public:
  MessageReader(bool fromMbox, const std::function<void(const TextPart&)>& each,
                const std::function<void(const LostPart&)>& lost)
      : fromMbox_(fromMbox), each_(each), lost_(lost) {}

  // Set by the parser's warnings while it builds the message.
  void NoteDamage() { damaged_ = true; }

  void Read(GMimeMessage* message, std::string mail) {
    mail_ = std::move(mail);
    Walk(g_mime_message_get_mime_part(message), 0);
    damaged_ = false;
  }

 private:
  void Walk(GMimeObject* object, int depth) {
    if (object == nullptr) return;
    if (depth > kMaxDepth) {
      lost_(LostPart{"a part nested deeper than " + std::to_string(kMaxDepth) + " levels", mail_});
      return;
    }
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
      if (prologue != nullptr) Deliver(prologue);
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
    const bool octets = IsType(object, "application", "octet-stream");
    if (!IsType(object, "text", "*") && !octets) return;
    const PartContent content = ReadPartContent(part, octets, decoders_);
    if (content.outcome == PartOutcome::kTooLarge) {
      lost_(LostPart{"a part of more than " + std::to_string(kMaxTextPartBytes >> 20) +
                         " MB, too large for a report",
                     mail_});
    }
    if (content.outcome != PartOutcome::kRead) return;
    const bool base64 = g_mime_part_get_content_encoding(part) == GMIME_CONTENT_ENCODING_BASE64;
    const char* charset = g_mime_object_get_content_type_parameter(object, "charset");
    const char* format = g_mime_object_get_content_type_parameter(object, "format");
    const char* delSp = g_mime_object_get_content_type_parameter(object, "delsp");
    TextPart text{content.bytes,
                  charset != nullptr ? charset : "",
                  html,
                  content.damaged || damaged_,
                  IsType(object, "text", "plain") && format != nullptr &&
                      g_ascii_strcasecmp(format, "flowed") == 0,
                  delSp != nullptr && g_ascii_strcasecmp(delSp, "yes") == 0,
                  mail_};
    if (!fromMbox_ || base64) {
      each_(text);
      return;
    }
    const std::string undone = UndoFromQuoting(content.bytes);
    text.bytes = undone;
    each_(text);
  }

  void Deliver(std::string_view text) {
    each_(TextPart{text, "", false, damaged_, false, false, mail_});
  }

  const bool fromMbox_;
  const std::function<void(const TextPart&)>& each_;
  const std::function<void(const LostPart&)>& lost_;
  std::string mail_;
  bool damaged_ = false;
  TransferDecoders decoders_;
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

std::size_t ReadMail(int fd, FileKind kind, const std::function<void(const TextPart&)>& each,
                     const std::function<void(const LostPart&)>& lost) {
  static const bool initialised = (g_mime_init(), true);
  static_cast<void>(initialised);
  if (kind == FileKind::kText || lseek(fd, 0, SEEK_SET) != 0) return 0;

  // The parser reads the file through a stream and keeps no part's content in
  // memory: a message at a time is held, however large the mbox.
  const GObjectPtr<GMimeStream> stream(NewBufferedFileStream(fd));
  const GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
  g_mime_parser_set_format(parser.get(),
                           kind == FileKind::kMbox ? GMIME_FORMAT_MBOX : GMIME_FORMAT_MESSAGE);
  g_mime_parser_set_persist_stream(parser.get(), TRUE);

  MessageReader reader(kind == FileKind::kMbox, each, lost);
  const ParserOptionsPtr options(g_mime_parser_options_new());
  g_mime_parser_options_set_warning_callback(options.get(), OnParserWarning, &reader);

  std::size_t messages = 0;
  while (!g_mime_parser_eos(parser.get())) {
    const GObjectPtr<GMimeMessage> message(
        g_mime_parser_construct_message(parser.get(), options.get()));
    if (!message) break;
    ++messages;
    const gint64 offset = g_mime_parser_get_mbox_marker_offset(parser.get());
    reader.Read(message.get(), MailNamed(message.get(), kind == FileKind::kMbox, messages, offset));
    if (kind == FileKind::kMessage) break;
  }
  return messages;
}
