// What an attachment is by its first bytes rather than by its declared type or
// name: many mail programs send a picture or an archive as
// application/octet-stream (named shot.png, say), and a report file so too.
#ifndef TARVOLO_RESULTS_READ_CONTENT_SNIFFER_H
#define TARVOLO_RESULTS_READ_CONTENT_SNIFFER_H

#include <string_view>

// Whether head, the first bytes of an attachment, may open a text: its bytes
// hold no NUL and hardly a control character that text has no use for, or
// libmagic calls it text or mail (and not a picture, an archive, a PDF...).
bool MayBeText(std::string_view head);

#endif
