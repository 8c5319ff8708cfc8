// Mail as mail programs keep it: a message file (an .eml, a Maildir message) or
// an mbox, read by GMime one message at a time. What comes out is each text part
// of each message, its transfer encoding undone, with its declared charset and
// nothing of the mail around it, for the reader to decode.
#ifndef TARVOLO_RESULTS_READ_MAIL_READER_H
#define TARVOLO_RESULTS_READ_MAIL_READER_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

enum class FileKind {
  kText,     // a report file as Tarvolo writes it, or a text with a pasted report
  kMessage,  // one mail, starting with its header
  kMbox,     // mails, each opened by a "From " line
};

// What a received file is, by its first bytes (a few kilobytes are enough).
FileKind KindOfFile(std::string_view head);

struct TextPart {
  std::string_view bytes;    // the part's content; valid during the call only
  std::string_view charset;  // as declared; empty when none is
  bool html;                 // an HTML part, read for want of a plain one
  bool damaged;              // its mail is broken: cut off, a boundary missing, bad base64
  bool flowed;               // text/plain sent as format=flowed
  bool delSp;                // and with DelSp=yes
  std::string_view mail;     // which mail it came in, for a message about it
};

// A part the reader could not take, and which mail it was in.
struct LostPart {
  std::string_view why;
  std::string_view mail;
};

// Reads every message of the open file fd, from its start (fd stays open), and
// calls each for every text part: text/plain and other text, HTML where no plain
// alternative stands beside it, and attachments of text or
// application/octet-stream (a report file, whatever its name, unless its first
// bytes show a picture, an archive or other data), also inside forwarded
// mails. In an mbox, the ">From " quoting of body lines is undone. A text part
// nested deeper than any mail program nests, or too large to be a report, goes
// to lost. Returns the number of messages read.
std::size_t ReadMail(int fd, FileKind kind, const std::function<void(const TextPart&)>& each,
                     const std::function<void(const LostPart&)>& lost);

#endif
