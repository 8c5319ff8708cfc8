// Received text is anything at all: for a few seconds, reports and mails bent at
// random (bytes changed, inserted, cut; markers, labels and MIME thrown in) go
// through reading, checking and both writers under the sanitizers. Nothing may
// crash, and the page may only ever hold its own elements.
#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "page_parts.h"
#include "report_samples.h"
#include "results/rank/result_set.h"
#include "results/read/received_file.h"
#include "results/read/text_decoding.h"
#include "tests/support/test_files.h"

namespace {

std::string Base64(const std::string& bytes) {
  gchar* encoded = g_base64_encode(reinterpret_cast<const guchar*>(bytes.data()), bytes.size());
  std::string text(encoded);
  g_free(encoded);
  return text;
}

std::vector<std::string> Originals() {
  const std::string report = FilledReport(
      0.987f, 80.5f, {"<b>太郎</b>", "PC", "K6", "300MHz", "98", "コメント\r\n二行目"});
  const std::string header = "\r\n★★★★★ Tarvolo 結果報告書 ★★★★★\r\n\r\n";
  const std::string part = "\n--b1\nContent-Type: ";
  // A mail of every part kind the reader takes, and mboxes.
  const std::string mail =
      "From: a@example.jp\nSubject: r\nMIME-Version: 1.0\n"
      "Content-Type: multipart/mixed; boundary=\"b1\"\n\npreface" +
      part + "text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\n" + Base64(report) +
      part + "application/octet-stream\nContent-Transfer-Encoding: base64\n\n" +
      Base64(ToShiftJis(header + report)) + part +
      "message/rfc822\n\nSubject: fwd\nContent-Type: multipart/alternative; boundary=b2\n\n"
      "--b2\nContent-Type: text/html; charset=iso-2022-jp\n\n<p>" +
      Convert(report, "UTF-8", "ISO-2022-JP") + "</p>\n--b2--\n\n--b1--\n";
  const std::string from = "From a@example.jp Mon Jan  1 00:00:00 2024\n";
  const std::string mbox = from +
                           "From: a@example.jp\nContent-Type: text/plain; charset=shift_jis\n\n" +
                           ToShiftJis(report) + "\n" + from + "Subject: r\n\n>From here\n" + report;
  // Mails GMime cannot all read: one with no header, a From line in a header
  // and in a body, one opening a part's header (which ends no mail), a report
  // between them.
  const std::string odd = mbox + "\n" + from + "no header here\n\n" + report + from +
                          "From: b@example.jp\n" + from + "Subject: s\n\n" + report + "\n" + from +
                          "Subject: t\nContent-Type: multipart/mixed; boundary=b1\n\n--b1\n" +
                          from + "Content-Type: text/plain\n\n" + report + "\n--b1--\n" + from +
                          report;
  return {ToShiftJis(header + report + header + report),
          "\xEF\xBB\xBF" + report + report,
          Convert(report, "UTF-8", "ISO-2022-JP"),
          ToShiftJis("前置き\r\n" + report),
          mail,
          mbox,
          odd};
}

// Pieces that mean something to the reader, the decoders or the writers.
const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = [] {
    std::vector<std::string> all = {"\r\n",
                                    "\n",
                                    "\r",
                                    "\x1B$B",
                                    "\x1B(B",
                                    "\x1B(I",
                                    "\x81",
                                    "\xEF\xBF\xBD",
                                    "\xE3\x80",
                                    "To results@tarvolo.example\r\n",
                                    "\xEF\xBC\x9A",
                                    "\x81\x46",
                                    "<script>",
                                    "&",
                                    "\"",
                                    "-- \r\n",
                                    "> ",
                                    "\xEF\xBB\xBF",
                                    "0.000",
                                    "99999999999999999.999",
                                    "\n--b1\n",
                                    "\n--b1--\n",
                                    "\n\n",
                                    "=",
                                    "<br>",
                                    "&nbsp;",
                                    "&#",
                                    "</p>",
                                    "boundary=",
                                    "Content-Transfer-Encoding: base64\n",
                                    "Content-Type: multipart/mixed; boundary=b1\n",
                                    "Content-Type: text/html\n",
                                    "\nFrom a@example.jp Mon Jan  1 00:00:00 2024\n"};
    std::string longField;  // longer than a field is kept
    for (int i = 0; i < 300; ++i) longField += "漢";
    all.push_back(longField);
    all.push_back(ToShiftJis(longField));
    return all;
  }();
  return pieces;
}

std::string Bent(std::string text, std::mt19937& generator) {
  const auto pick = [&generator](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n == 0 ? 0 : n - 1)(generator);
  };
  const std::size_t changes = 1 + pick(8);
  for (std::size_t i = 0; i < changes; ++i) {
    const std::size_t at = pick(text.size() + 1);
    switch (pick(6)) {
      case 0:
        if (at < text.size()) text[at] = static_cast<char>(pick(256));
        break;
      case 1:
        text.insert(at, 1, static_cast<char>(pick(256)));
        break;
      case 2:
        text.insert(at, Pieces()[pick(Pieces().size())]);
        break;
      case 3:
        text.erase(at, pick(64));
        break;
      case 4:
        text.insert(at, text.substr(pick(text.size() + 1), pick(400)));
        break;
      default:
        text.resize(at);
    }
  }
  return text;
}

// A file as read with the given way of reading an mbox: its texts in order, the
// mails counted and the parts named as lost.
std::string ReadAs(const std::string& path, const MboxReading& reading) {
  std::string said;
  const FileRead read = ReadReceivedFile(
      path,
      [&said](const ReceivedText& text) {
        said += "text " + std::to_string(text.damaged) + " [" + text.utf8 + "]";
        for (std::size_t at : text.unreadable) said += " " + std::to_string(at);
        said += "\n";
      },
      reading);
  said += "read " + std::to_string(read.read) + ", " + std::to_string(read.mails) + " mails\n";
  for (const std::string& lost : read.lostParts) said += "lost " + lost + "\n";
  return said;
}

TEST(RandomInput, NoCrashAndThePageOnlyEverHoldsItsOwnElements) {
  const char* given = std::getenv("TARVOLO_START_VALUE");  // to replay a failure
  const unsigned startValue = given != nullptr
                                  ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                  : std::random_device()();
  SCOPED_TRACE("start value " + std::to_string(startValue) + " (TARVOLO_START_VALUE replays it)");
  std::mt19937 generator(startValue);
  const std::vector<std::string> originals = Originals();
  ScratchFolder folder;
  const std::string received = (folder / "received").string();
  std::string why;
  const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  int rounds = 0;
  for (; std::chrono::steady_clock::now() < stop; ++rounds) {
    ResultSet results;
    for (int file = 0; file < 3; ++file) {
      const std::string& original = originals[generator() % originals.size()];
      // In a buffer of exactly its size, so that the sanitizer sees a read past its end.
      const std::string bent = Bent(original, generator);
      const std::vector<char> exact(bent.begin(), bent.end());
      AddReports(std::string_view(exact.data(), exact.size()), results);
      // And as a received file: a mail is read as mail.
      WriteBytes(received, bent);
      ASSERT_TRUE(AddReceivedFile(received, results, why)) << why;
      // An mbox read in small pieces on threads reads as it does in one go,
      // wherever its From lines stand.
      const std::int64_t pieceBytes = 16 + static_cast<std::int64_t>(generator() % 600);
      ASSERT_EQ(ReadAs(received, MboxReading{pieceBytes, 3}), ReadAs(received, MboxReading{0, 1}))
          << "round " << rounds << ", pieces of " << pieceBytes << " bytes";
    }
    ASSERT_EQ(results.read, results.kept.size() + results.merged);
    for (const auto& [file, bytes] : SiteFiles(results)) {
      if (file != "results.csv") {
        for (const std::string& name : ElementsIn(bytes)) {
          ASSERT_EQ(OwnElements().count(name), 1u)
              << "round " << rounds << ", " << file << ": <" << name;
        }
      }
      ASSERT_EQ(DecodeAs(bytes, TextEncoding::kUtf8).unreadable.size(), 0u)
          << "round " << rounds << ", " << file;
    }
  }
  std::printf("%d rounds of three bent files\n", rounds);
}

}  // namespace
