#include "results/read/received_file.h"

#include <utility>

#include "results/read/flowed_text.h"
#include "results/read/html_text.h"
#include "results/read/input_files.h"
#include "results/read/mail_reader.h"
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

}  // namespace

FileRead ReadReceivedFile(const std::string& path,
                          const std::function<void(const ReceivedText&)>& each) {
  FileRead result;
  const UniqueFd fd = OpenRegularFile(path, result.why);
  std::string bytes(kHeadBytes, '\0');
  if (!fd || !ReadHead(fd.get().number(), bytes, result.why)) return result;
  const FileKind kind = KindOfFile(bytes);
  if (kind != FileKind::kText) {
    const auto eachPart = [&](const TextPart& part) {
      DecodedText decoded = DecodeDeclared(part.bytes, part.charset);
      if (decoded.unknownCharset) {
        result.lostParts.push_back(LostPartSaid(
            "a part in the charset \"" + std::string(part.charset) + "\" that no decoder knows",
            part.mail));
        return;
      }
      each(TextOfPart(part, std::move(decoded)));
    };
    const auto lost = [&](const LostPart& part) {
      result.lostParts.push_back(LostPartSaid(part.why, part.mail));
    };
    result.mails = ReadMail(fd.get().number(), kind, eachPart, lost);
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
