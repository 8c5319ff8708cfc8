// What an attachment is by its first bytes rather than by its declared type or
// name: many mail programs send a picture or an archive as
// application/octet-stream (named shot.png, say), and a report file so too.
#ifndef TARVOLO_RESULTS_READ_CONTENT_SNIFFER_H
#define TARVOLO_RESULTS_READ_CONTENT_SNIFFER_H

#include <string_view>

// Whether head, the first bytes of an attachment, may open a text: libmagic
// calls it text or mail, or it names no picture, sound, film or font and the
// bytes hold no NUL and hardly a control character that text has no use for.
bool MayBeText(std::string_view head);

#endif
