// Text sent as format=flowed (RFC 3676), as Thunderbird, mutt and others send
// text/plain: a line that ends with a space goes on in the next, the sender's
// program having broken it only to keep its lines short.
#ifndef TARVOLO_RESULTS_READ_FLOWED_TEXT_H
#define TARVOLO_RESULTS_READ_FLOWED_TEXT_H

#include <cstddef>
#include <string>
#include <vector>

// Joins utf8's soft line breaks where the quote depth stays the same (with
// delSp, the space before each is dropped as well), undoes space-stuffing and
// writes each quoted line as its depth of '>' and a space. unreadable (byte
// offsets of U+FFFD in utf8, in order) is moved along with the text.
void UndoFlowed(std::string& utf8, std::vector<std::size_t>& unreadable, bool delSp);

#endif
