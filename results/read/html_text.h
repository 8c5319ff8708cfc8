// The text of an HTML mail part (a web mail's message that has no plain
// alternative), as the reader would see its lines.
#ifndef TARVOLO_RESULTS_READ_HTML_TEXT_H
#define TARVOLO_RESULTS_READ_HTML_TEXT_H

#include <string>
#include <string_view>

// html in UTF-8 to its text in UTF-8, by libxml2's HTML parser (tag soup and
// character references as a browser reads them): tags dropped, <br> and the
// ends of paragraphs, blocks and table rows as line breaks, other white space
// as one space (but inside <pre>), no-break spaces as spaces; script, style and
// the head's contents are no text.
std::string HtmlToText(std::string_view html);

#endif
