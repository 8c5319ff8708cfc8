// Mail as mail programs keep it: a message file (an .eml, a Maildir message) or
// an mbox, read by GMime one message at a time. What comes out is each text part
// of each message, its transfer encoding undone, with its declared charset and
// nothing of the mail around it, for the reader to decode.
#ifndef TARVOLO_RESULTS_READ_MAIL_READER_H
#define TARVOLO_RESULTS_READ_MAIL_READER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

enum class FileKind {
  kText,     // a report file as Tarvolo writes it, or a text with a pasted report
  kMessage,  // one mail, starting with its header
  kMbox,     // mails, each opened by a "From " line
};

// What a received file is, by its first bytes (a few kilobytes are enough).
FileKind KindOfFile(std::string_view head);

// Which mail a part came in, for a message about it.
struct MailPlace {
  std::string messageId;  // empty when it has none, or its header could not be read
  bool headerRead = true;
  std::size_t number = 0;    // in an mbox: its place among the mails read, from 1
  std::int64_t offset = -1;  // in an mbox: the byte its From line starts at
};

// The mail in words ("the mail <id>", and in an mbox "mail N of the mbox (its
// From line at byte B)"), numbered after the mails counted before it.
std::string MailNamed(const MailPlace& place, std::size_t countedBefore = 0);

struct TextPart {
  std::string_view bytes;    // the part's content; valid during the call only
  std::string_view charset;  // as declared; empty when none is
  bool html;                 // an HTML part, read for want of a plain one
  bool damaged;              // its mail is broken: cut off, a boundary missing, bad base64
  bool flowed;               // text/plain sent as format=flowed
  bool delSp;                // and with DelSp=yes
  const MailPlace& mail;     // which mail it came in
};

// A part the reader could not take (or a mail with no header to read), and
// which mail it was in.
struct LostPart {
  std::string_view why;
  const MailPlace& mail;
};

// The mails of an mbox whose From lines start in [start, end); a message file
// is read whole whatever the span.
struct MailSpan {
  std::int64_t start = 0;
  std::int64_t end = std::numeric_limits<std::int64_t>::max();
};

struct MailsRead {
  std::size_t mails = 0;  // messages read, each counted once, also one with no header
  // Where the next mail's From line starts: the first at or after the span's
  // end that the parser came to, or the file's end.
  std::int64_t next = 0;
};

// The first line starting "From " that starts in [at, before): where it
// starts, or the file's end or before when there is none.
std::int64_t NextFromLine(int fd, std::int64_t at,
                          std::int64_t before = std::numeric_limits<std::int64_t>::max());

// Reads the messages of the open file fd in span (fd stays open) and calls each
// for every text part: text/plain and other text, HTML where no plain
// alternative stands beside it, and attachments of text or
// application/octet-stream (a report file, whatever its name, unless its first
// bytes show a picture, an archive or other data), also inside forwarded
// mails. In an mbox, the ">From " quoting of body lines is undone, and a mail
// with no header after its From line goes to lost; reading goes on at the next
// From line. A text part nested deeper than any mail program nests, or too
// large to be a report, goes to lost. A message file with no header reads as
// no mail at all.
MailsRead ReadMails(int fd, FileKind kind, MailSpan span,
                    const std::function<void(const TextPart&)>& each,
                    const std::function<void(const LostPart&)>& lost);

#endif
