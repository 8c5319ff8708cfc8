#include "results/read/received_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <thread>
#include <utility>
#include <variant>

#include "results/read/flowed_text.h"
#include "results/read/html_text.h"
#include "results/read/input_files.h"
#include "results/read/mail_reader.h"
#include "results/read/ordered_work.h"
#include "results/read/owners.h"
#include "results/read/text_decoding.h"

namespace {

// Enough for a mail's header to show itself.
constexpr std::size_t kHeadBytes = 8192;

// The words go to a terminal: a control character of a hostile mail's
// Message-ID or charset is shown as '?' rather than sent to it.
std::string LostPartSaid(std::string_view why, std::string_view mail) {
  std::string said = std::string(why).append(", in ").append(mail);
  for (char& c : said) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return said;
}

// A mail's text part by its declared charset, flowed text joined, an HTML part
// as the text a reader of it sees.
ReceivedText TextOfPart(const TextPart& part, DecodedText decoded) {
  if (part.flowed) UndoFlowed(decoded.utf8, decoded.unreadable, part.delSp);
  ReceivedText text = ReceivedTextOf(std::move(decoded), part.damaged);
  if (!part.html) return text;
  const bool unreadable = !text.unreadable.empty();
  text.utf8 = HtmlToText(text.utf8);
  text.unreadable.clear();
  // The markup is gone and with it the places found while decoding; the
  // replacement characters themselves came through.
  if (!unreadable) return text;
  for (std::size_t at = text.utf8.find(kReplacementUtf8); at != std::string::npos;
       at = text.utf8.find(kReplacementUtf8, at + kReplacementUtf8.size())) {
    text.unreadable.push_back(at);
  }
  return text;
}

// Each text part of the mails in span decoded, handed on in the order read
// together with what could not be taken.
MailsRead ReadDecoded(int fd, FileKind kind, MailSpan span,
                      const std::function<void(ReceivedText)>& text,
                      const std::function<void(std::string why, const MailPlace&)>& lost) {
  const auto eachPart = [&](const TextPart& part) {
    DecodedText decoded = DecodeDeclared(part.bytes, part.charset);
    if (decoded.unknownCharset) {
      lost("a part in the charset \"" + std::string(part.charset) + "\" that no decoder knows",
           part.mail);
      return;
    }
    text(TextOfPart(part, std::move(decoded)));
  };
  return ReadMails(fd, kind, span, eachPart,
                   [&](const LostPart& part) { lost(std::string(part.why), part.mail); });
}

// The mails in span read in one go, their texts handed to each and the parts
// not taken added to result, numbered after the mails it counts already.
void ReadInOneGo(int fd, FileKind kind, MailSpan span,
                 const std::function<void(const ReceivedText&)>& each, FileRead& result) {
  const std::size_t before = result.mails;
  result.mails += ReadDecoded(
                      fd, kind, span, [&](ReceivedText text) { each(text); },
                      [&](std::string why, const MailPlace& mail) {
                        result.lostParts.push_back(LostPartSaid(why, MailNamed(mail, before)));
                      })
                      .mails;
}

// A piece of an mbox as read on a thread of its own, kept until the pieces
// before it are handed on.
struct MboxPiece {
  std::int64_t start = -1;  // the From line it starts at; -1: none in its bytes
  std::int64_t end = 0;     // its bytes end, and the mails starting in them
  MailsRead read;
  struct Lost {
    std::string why;
    MailPlace mail;
  };
  std::vector<std::variant<ReceivedText, Lost>> found;  // in the order read
};

// A large mbox read in pieces of about pieceBytes on several threads, and
// handed on in order as if read from start to end. A piece reads the mails
// whose From lines start in its bytes, the last to its end however far that
// is. Where the parser ended a piece's last mail is checked against the From
// line the next piece began at: GMime decides where a mail ends, not a guess
// of where a From line is. From the first place they differ on, the rest is
// read in one go.
void ReadMboxInPieces(int fd, std::int64_t size, const MboxReading& reading, unsigned threads,
                      const std::function<void(const ReceivedText&)>& each, FileRead& result) {
  const std::int64_t pieceBytes = std::max<std::int64_t>(reading.pieceBytes, 1);
  const std::size_t count = static_cast<std::size_t>((size + pieceBytes - 1) / pieceBytes);
  const std::function<MboxPiece(std::size_t)> readPiece = [&](std::size_t index) {
    const std::int64_t from = static_cast<std::int64_t>(index) * pieceBytes;
    MboxPiece piece;
    piece.end = std::min(from + pieceBytes, size);
    const std::int64_t start = index == 0 ? 0 : NextFromLine(fd, from, piece.end);
    if (start >= piece.end) return piece;
    piece.start = start;
    piece.read = ReadDecoded(
        fd, FileKind::kMbox, MailSpan{start, piece.end},
        [&](ReceivedText text) { piece.found.emplace_back(std::move(text)); },
        [&](std::string why, const MailPlace& mail) {
          piece.found.emplace_back(MboxPiece::Lost{std::move(why), mail});
        });
    return piece;
  };
  std::int64_t next = 0;  // where the mail after those handed on starts
  bool inStep = true;
  const std::function<bool(std::size_t, MboxPiece&)> take = [&](std::size_t, MboxPiece& piece) {
    if (piece.start < 0) {
      inStep = next >= piece.end;  // the mails before it go on past its bytes
      return inStep;
    }
    inStep = piece.start == next;
    if (!inStep) return false;
    for (auto& found : piece.found) {
      if (const auto* text = std::get_if<ReceivedText>(&found)) {
        each(*text);
      } else {
        const auto& lost = std::get<MboxPiece::Lost>(found);
        result.lostParts.push_back(LostPartSaid(lost.why, MailNamed(lost.mail, result.mails)));
      }
    }
    result.mails += piece.read.mails;
    next = piece.read.next;
    return true;
  };
  RunInOrder(count, threads, 2 * std::size_t{threads}, readPiece, take);
  if (!inStep) ReadInOneGo(fd, FileKind::kMbox, MailSpan{next, MailSpan().end}, each, result);
}

}  // namespace

FileRead ReadReceivedFile(const std::string& path,
                          const std::function<void(const ReceivedText&)>& each,
                          const MboxReading& reading) {
  FileRead result;
  const UniqueFd fd = OpenRegularFile(path, result.why);
  std::string bytes(kHeadBytes, '\0');
  if (!fd || !ReadHead(fd.get().number(), bytes, result.why)) return result;
  const FileKind kind = KindOfFile(bytes);
  if (kind != FileKind::kText) {
    const unsigned threads =
        reading.threads != 0 ? reading.threads : std::min(std::thread::hardware_concurrency(), 8u);
    struct stat file;
    if (kind == FileKind::kMbox && threads > 1 && fstat(fd.get().number(), &file) == 0 &&
        file.st_size >= 2 * reading.pieceBytes) {
      ReadMboxInPieces(fd.get().number(), file.st_size, reading, threads, each, result);
    } else {
      ReadInOneGo(fd.get().number(), kind, MailSpan{}, each, result);
    }
    if (result.mails > 0) {
      result.read = true;
      return result;
    }
    // Not a mail after all: read as the text it is.
  }
  if (!ReadWhole(fd.get().number(), bytes, result.why)) return result;
  result.read = true;
  each(ReceivedTextOf(bytes));
  return result;
}
