// tarvolo-results: the maker's side of the report. Reads received reports
// (report files, saved mails and texts) and writes the results page and table.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "results/entries/entry.h"
#include "results/entries/text_entries.h"
#include "results/rank/ranking.h"
#include "results/rank/result_set.h"
#include "results/read/input_files.h"
#include "results/read/received_file.h"
#include "results/read/received_text.h"
#include "results/site/output_folder.h"
#include "results/site/results_site.h"

namespace {

enum ExitStatus {
  kPageWritten = 0,
  kInputSkipped = 1,  // the page is still written
  kUsageError = 2,
  kPageNotWritten = 3,
};

const char kUsage[] =
    "usage: tarvolo-results [-o DIR] FILE_OR_FOLDER...\n"
    "       tarvolo-results --version\n"
    "Reads Tarvolo's result reports (report files and texts; mails as .eml files,\n"
    "mbox files or Maildir folders; folders recursively) and writes DIR/index.html,\n"
    "the ranking pages DIR/10000-N.html, DIR/100000-N.html, DIR/unmeasured-N.html\n"
    "and DIR/check-N.html, DIR/processors.html with a ranking per processor, and\n"
    "DIR/results.csv (DIR: the current folder unless given). Exit status: 0\n"
    "written, 1 written but an input or a mail part was skipped, 2 usage error,\n"
    "3 the pages could not be written (those already in DIR are left as they were).\n";

int UsageError(const std::string& why) {
  std::cerr << "tarvolo-results: " << why << "\n" << kUsage;
  return kUsageError;
}

// A page or the table in the folder, by its own name or the name its link leads to.
bool IsOutput(const std::string& path, const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path given(path);
  for (const fs::path& name : {given.filename(), fs::canonical(given, error).filename()}) {
    if (IsOwnFileName(name.string()) && fs::equivalent(given, fs::path(folder) / name, error)) {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = ".";
  std::vector<std::string> inputs;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "-h" || argument == "--help")) {
      std::cout << kUsage;
      return kPageWritten;
    } else if (options && argument == "--version") {
      std::cout << "tarvolo-results " TARVOLO_RELEASE "\n";
      return kPageWritten;
    } else if (options && argument == "-o") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return UsageError("-o needs a folder");
      folder = argv[++i];
    } else if (options && argument.size() > 1 && argument[0] == '-') {
      return UsageError("unknown option " + argument);
    } else {
      inputs.push_back(argument);
    }
  }
  if (inputs.empty()) return UsageError("no report file or folder given");

  const InputFiles files = CollectInputs(inputs, std::cerr);
  std::size_t skipped = files.skipped, lostParts = 0;
  ResultSet results;
  const auto addEntry = [&results](CheckedEntry entry) { results.Add(std::move(entry)); };
  for (const std::string& path : files.paths) {
    // An output folder inside an input folder: the last run's page is no report.
    if (IsOutput(path, folder)) continue;
    const FileRead read =
        ReadReceivedFile(path, [&](const ReceivedText& text) { ReadEntries(text, addEntry); });
    if (!read.read) {
      std::cerr << "tarvolo-results: skipped " << path << ": " << read.why << '\n';
      ++skipped;
      continue;
    }
    ++results.files;
    results.mails += read.mails;
    for (const std::string& lost : read.lostParts) {
      std::cerr << "tarvolo-results: skipped " << lost << " (" << path << ")\n";
    }
    lostParts += read.lostParts.size();
  }

  // Sorted once, for every page and the table.
  const Rankings rankings = RankEntries(results);
  std::string why;
  if (!MakeFolder(folder, why) || !WriteResultsSite(folder, results, rankings, why)) {
    // The pages already published are as they were: nothing replaces them
    // until every page of this run is written whole.
    std::cerr << "tarvolo-results: cannot write into " << folder << ": " << why
              << "; the pages there are left as they were\n";
    return kPageNotWritten;
  }
  std::cout << "tarvolo-results: " << results.read << " entries read from " << results.files
            << " files (" << results.mails << " mails), " << results.kept.size() << " kept, "
            << results.Flagged() << " flagged, " << results.merged << " merged, " << skipped
            << " inputs skipped, " << lostParts << " mail parts skipped\n";
  return skipped + lostParts > 0 ? kInputSkipped : kPageWritten;
}
