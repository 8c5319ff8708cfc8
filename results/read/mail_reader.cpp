#include "results/read/mail_reader.h"

#include <gmime/gmime.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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

class MessageReader {
 public:
  MessageReader(bool fromMbox, const std::function<void(const TextPart&)>& each,
                const std::function<void(const LostPart&)>& lost)
      : fromMbox_(fromMbox), each_(each), lost_(lost) {}

  // Set by the parser's warnings while it builds the message.
  void NoteDamage() { damaged_ = true; }

  void Read(GMimeMessage* message, MailPlace place) {
    const char* id = g_mime_message_get_message_id(message);
    place.messageId = id != nullptr ? id : "";
    mail_ = std::move(place);
    Walk(g_mime_message_get_mime_part(message), 0);
    damaged_ = false;
  }

  // A From line with no mail header after it: nothing of it can be read.
  void Unreadable(MailPlace place) {
    place.headerRead = false;
    lost_(LostPart{"a mail with no header after its From line", place});
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
  MailPlace mail_;
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

std::string MailNamed(const MailPlace& place, std::size_t countedBefore) {
  std::string named;
  if (place.headerRead) {
    named = place.messageId.empty() ? "a mail without Message-ID"
                                    : "the mail <" + place.messageId + ">";
  }
  if (place.offset >= 0) {
    named += (named.empty() ? "mail " : ", mail ") + std::to_string(countedBefore + place.number) +
             " of the mbox (its From line at byte " + std::to_string(place.offset) + ")";
  }
  return named;
}

std::int64_t NextFromLine(int fd, std::int64_t at, std::int64_t before) {
  constexpr std::string_view kFromLine = "\nFrom ";
  // The file's start counts as the start of a line, as a line break does.
  std::int64_t position = at > 0 ? at - 1 : 0;
  std::string window = at > 0 ? "" : "\n";
  char buffer[65536];
  while (position < before) {
    ssize_t read;
    do {
      read = pread(fd, buffer, sizeof buffer, static_cast<off_t>(position));
    } while (read < 0 && errno == EINTR);
    // The end, or as far as the file can be read.
    if (read <= 0) return std::min(std::max(position, at), before);
    const std::int64_t windowStart = position - static_cast<std::int64_t>(window.size());
    window.append(buffer, static_cast<std::size_t>(read));
    const std::size_t found = window.find(kFromLine);
    if (found != std::string::npos) {
      return std::min(windowStart + static_cast<std::int64_t>(found) + 1, before);
    }
    position += read;
    window.erase(0, window.size() - (kFromLine.size() - 1));  // a line break and "From" may go on
  }
  return before;
}

MailsRead ReadMails(int fd, FileKind kind, MailSpan span,
                    const std::function<void(const TextPart&)>& each,
                    const std::function<void(const LostPart&)>& lost) {
  static const bool initialised = (g_mime_init(), true);
  static_cast<void>(initialised);
  MailsRead read{0, span.start};
  if (kind == FileKind::kText) return read;
  const bool mbox = kind == FileKind::kMbox;
  if (!mbox) span = MailSpan{0, 1};

  MessageReader reader(mbox, each, lost);
  const ParserOptionsPtr options(g_mime_parser_options_new());
  g_mime_parser_options_set_warning_callback(options.get(), OnParserWarning, &reader);
  // One parser reads on from one place; a mail GMime cannot read stops it, and
  // a new one starts at the next From line.
  while (read.next < span.end) {
    // The parser reads the file through a stream and keeps no part's content
    // in memory: a message at a time is held, however large the mbox.
    const GObjectPtr<GMimeStream> stream(NewBufferedFileStream(fd, read.next));
    const GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    g_mime_parser_set_format(parser.get(), mbox ? GMIME_FORMAT_MBOX : GMIME_FORMAT_MESSAGE);
    g_mime_parser_set_persist_stream(parser.get(), TRUE);
    for (;;) {
      // After a message, the parser stands at the next one's From line.
      read.next = g_mime_parser_tell(parser.get());
      if (g_mime_parser_eos(parser.get()) || read.next >= span.end) return read;
      const std::int64_t startedAt = read.next;
      const GObjectPtr<GMimeMessage> message(
          g_mime_parser_construct_message(parser.get(), options.get()));
      if (!mbox) {
        if (message) reader.Read(message.get(), MailPlace{});
        read.mails = message ? 1 : 0;
        return read;
      }
      ++read.mails;
      const MailPlace place{"", true, read.mails,
                            g_mime_parser_get_mbox_marker_offset(parser.get())};
      if (!message && place.offset < startedAt) {  // no From line left: the end, no mail
        --read.mails;
        return read;
      }
      if (!message) {
        reader.Unreadable(place);
        read.next = NextFromLine(
            fd, std::max({g_mime_parser_tell(parser.get()), place.offset + 1, startedAt + 1}));
        break;
      }
      reader.Read(message.get(), place);
    }
  }
  return read;
}
