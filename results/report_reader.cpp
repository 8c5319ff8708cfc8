#include "results/report_reader.h"

#include "results/entry_finder.h"
#include "results/html_text.h"
#include "results/text_decoding.h"

namespace {

std::size_t AddDecoded(std::string_view utf8, unsigned flags, const ReportVocabulary& vocabulary,
                       ResultSet& results) {
  const std::vector<TextLine> lines = SplitIntoLines(utf8);
  const std::vector<FoundEntry> entries = FindEntries(lines, utf8, vocabulary);
  for (const FoundEntry& entry : entries) {
    EntryFields fields =
        ReadFields(lines.data() + entry.firstLine, entry.endLine - entry.firstLine, vocabulary);
    results.Add(CheckEntry(std::move(fields), entry.text, flags));
  }
  return entries.size();
}

}  // namespace

std::size_t AddReports(std::string_view bytes, const ReportVocabulary& vocabulary,
                       ResultSet& results) {
  return AddDecoded(DecodeToUtf8(bytes).utf8, 0, vocabulary, results);
}

std::size_t AddReports(const TextPart& part, const ReportVocabulary& vocabulary,
                       ResultSet& results) {
  const DecodedText decoded = DecodeDeclared(part.bytes, part.charset);
  const unsigned flags = part.damaged ? unsigned{kDamagedMail} : 0u;
  if (!part.html) return AddDecoded(decoded.utf8, flags, vocabulary, results);
  return AddDecoded(HtmlToText(decoded.utf8), flags, vocabulary, results);
}
