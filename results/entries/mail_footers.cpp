#include "results/entries/mail_footers.h"

#include <cstddef>

namespace {

// Written without spaces: footers come with and without a space between the
// sender and the words around it ("iPhone から送信").
constexpr std::string_view kSenders[] = {
    "iPhone",        "iPad",        "Android",        "Androiddevice",
    "Androidphone",  "Android端末", "Gmail",          "GmailMobile",
    "Gmailモバイル", "Gmailアプリ", "ドコモメール",   "docomoメール",
    "auメール",      "auMail",      "SoftBankメール", "ソフトバンクメール"};
constexpr std::string_view kSentFrom[] = {"Sentfrommy", "Sentfrom"};
constexpr std::string_view kSentBy[] = {"から送信しました", "から送信", "より送信"};
constexpr std::string_view kOutlookFooters[] = {"GetOutlookforiOS",    "GetOutlookforAndroid",
                                                "iOS版Outlookを入手",  "Android版Outlookを入手",
                                                "OutlookforiOSを入手", "OutlookforAndroidを入手"};

// A footer is short; a longer line is the user's without looking further.
constexpr std::size_t kMaxFooterBytes = 200;

bool IsSender(std::string_view name) {
  for (std::string_view sender : kSenders) {
    if (name == sender) return true;
  }
  return false;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The line without spaces, a link the program puts after it ("<https://...>")
// and a closing full stop, in buffer; content is at most kMaxFooterBytes long.
// Comments can run to many lines: nothing is allocated per line.
std::string_view Normalised(std::string_view content, char (&buffer)[kMaxFooterBytes]) {
  if (!content.empty() && content.back() == '>') {
    const std::size_t link = content.rfind('<');
    if (link != std::string_view::npos) content = content.substr(0, link);
  }
  std::size_t length = 0;
  for (char c : content) {
    if (c != ' ') buffer[length++] = c;
  }
  std::string_view text(buffer, length);
  for (std::string_view stop : {std::string_view("\xE3\x80\x82"), std::string_view(".")}) {
    if (EndsWith(text, stop)) text.remove_suffix(stop.size());
  }
  return text;
}

}  // namespace

bool IsMailFooter(std::string_view content) {
  if (content.size() > kMaxFooterBytes) return false;
  char buffer[kMaxFooterBytes];
  const std::string_view line = Normalised(content, buffer);
  for (std::string_view start : kSentFrom) {
    if (line.substr(0, start.size()) == start && IsSender(line.substr(start.size()))) return true;
  }
  for (std::string_view end : kSentBy) {
    if (EndsWith(line, end) && IsSender(line.substr(0, line.size() - end.size()))) return true;
  }
  for (std::string_view footer : kOutlookFooters) {
    if (line == footer) return true;
  }
  return false;
}
