// The signature block many mail users end every mail with: a rule line (━━━,
// -----, ＝＝＝, ・・・・) and under it, to the end of what they wrote, a few
// short lines with a mail address, a web address or a phone number.
#ifndef TARVOLO_RESULTS_ENTRIES_SIGNATURE_BLOCK_H
#define TARVOLO_RESULTS_ENTRIES_SIGNATURE_BLOCK_H

#include <cstddef>
#include <string_view>
#include <vector>

// Where the signature block at the end of lines begins (its rule line), or
// lines.size() when they end in none. lines are without blanks at their ends.
// Unsure is none: a rule with more or longer lines under it, or with only a
// name, is part of the comment.
std::size_t SignatureBlockStart(const std::vector<std::string_view>& lines);

#endif
