// One received file, whatever it is: a mail or an mbox is read as mail, a report
// file or another text as it stands.
#ifndef TARVOLO_RESULTS_RECEIVED_FILE_H
#define TARVOLO_RESULTS_RECEIVED_FILE_H

#include <string>

#include "results/result_set.h"

// Adds the file's entries to results and counts it (and its mails) there; false,
// with the reason, when it cannot be read.
bool AddReceivedFile(const std::string& path, const ReportVocabulary& vocabulary,
                     ResultSet& results, std::string& why);

#endif
