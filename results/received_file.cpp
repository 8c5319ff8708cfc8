#include "results/received_file.h"

#include "results/input_files.h"
#include "results/mail_reader.h"
#include "results/report_reader.h"

namespace {

// Enough for a mail's header to show itself.
constexpr std::size_t kHeadBytes = 8192;

}  // namespace

bool AddReceivedFile(const std::string& path, const ReportVocabulary& vocabulary,
                     ResultSet& results, std::string& why) {
  const UniqueFd fd = OpenRegularFile(path, why);
  std::string bytes(kHeadBytes, '\0');
  if (!fd || !ReadHead(fd.get(), bytes, why)) return false;
  const FileKind kind = KindOfFile(bytes);
  if (kind != FileKind::kText) {
    const std::size_t mails = ReadMail(
        fd.get(), kind, [&](const TextPart& part) { AddReports(part, vocabulary, results); });
    if (mails > 0) {
      ++results.files;
      results.mails += mails;
      return true;
    }
    // Not a mail after all: read as the text it is.
  }
  if (!ReadWhole(fd.get(), bytes, why)) return false;
  ++results.files;
  AddReports(bytes, vocabulary, results);
  return true;
}
