#include "results/report_reader.h"

#include "results/entry_finder.h"
#include "results/text_decoding.h"

std::size_t AddReports(std::string_view bytes, const ReportVocabulary& vocabulary,
                       ResultSet& results) {
  const DecodedText decoded = DecodeToUtf8(bytes);
  const std::vector<std::string_view> entries = FindEntries(decoded.utf8, vocabulary);
  for (std::string_view entry : entries) {
    results.Add(CheckEntry(ReadFields(entry, vocabulary), entry));
  }
  return entries.size();
}
