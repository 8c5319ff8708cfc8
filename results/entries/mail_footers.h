// The line a phone or web mail program adds under what its user wrote, in
// Japanese or English: "iPhoneから送信", "Sent from my Android", "Get Outlook
// for iOS". The report's comment ends above it.
#ifndef TARVOLO_RESULTS_ENTRIES_MAIL_FOOTERS_H
#define TARVOLO_RESULTS_ENTRIES_MAIL_FOOTERS_H

#include <string_view>

// content is a line without blanks at its ends. Only a whole line counts: a
// footer quoted in a sentence is the user's.
bool IsMailFooter(std::string_view content);

#endif
