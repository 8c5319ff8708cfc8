#include "results/entries/entry_fields.h"

#include <string>
#include <string_view>
#include <vector>

#include "results/entries/mail_footers.h"
#include "results/entries/signature_block.h"

namespace {

// A name is one line of a report of at most 4095 bytes, and nobody reads 10 MB
// in a table cell.
constexpr std::size_t kFieldBytes = 400;
constexpr std::size_t kCommentBytes = 6000;

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr std::string_view kColon = kLabelColon;

// The value after label and colon, or false when the line is not that label's.
bool ValueAfterLabel(std::string_view content, std::string_view label, std::string_view* value) {
  if (content.substr(0, label.size()) != label) return false;
  std::string_view rest = content.substr(label.size());
  std::size_t blank = 0;
  while (StartsWithBlank(rest, &blank)) rest.remove_prefix(blank);
  if (rest.substr(0, kColon.size()) == kColon) {
    rest.remove_prefix(kColon.size());
  } else if (!rest.empty() && rest[0] == ':') {
    rest.remove_prefix(1);
  } else {
    return false;
  }
  *value = TrimBlanks(rest);
  return true;
}

// text cut to at most maxBytes bytes at a UTF-8 character boundary, "…" added.
std::string CutToBytes(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t end = maxBytes - kEllipsis.size();
  // Back to the first byte of a character (continuation bytes are 10xxxxxx).
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  std::string cut(text.substr(0, end));
  cut += kEllipsis;
  return cut;
}

// "-- ", the line above a mail's signature; its blank is often lost on the way.
bool IsSignatureSeparator(std::string_view content) {
  return content == "--";
}

}  // namespace

EntryFields ReadFields(const TextLine* lines, std::size_t count) {
  EntryFields fields;
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t lineOf[kFieldCount];
  std::string_view value[kFieldCount];
  for (std::size_t& line : lineOf) line = kNone;
  for (std::size_t i = 0; i < count; ++i) {
    for (int field = 0; field < kFieldCount; ++field) {
      if (lineOf[field] == kNone &&
          ValueAfterLabel(lines[i].content, kReportFields[field].label, &value[field])) {
        lineOf[field] = i;
        break;
      }
    }
  }
  for (int field = 0; field < kComment; ++field) {
    fields.text[field] = CutToBytes(value[field], kFieldBytes);
  }
  if (lineOf[kComment] == kNone) return fields;

  // The comment's lines: its label's line, then every later one not read as a
  // field, up to what the mail program added under it.
  std::vector<std::string_view> commentLines = {value[kComment]};
  for (std::size_t i = lineOf[kComment] + 1; i < count; ++i) {
    bool taken = false;
    for (std::size_t line : lineOf) taken = taken || line == i;
    if (taken) continue;
    if (IsSignatureSeparator(lines[i].content) || IsMailFooter(lines[i].content)) break;
    commentLines.push_back(lines[i].content);
  }
  commentLines.resize(SignatureBlockStart(commentLines));

  std::string comment;
  for (std::size_t i = 0; i < commentLines.size() && comment.size() <= kCommentBytes; ++i) {
    if (i > 0) comment += '\n';
    comment += commentLines[i];
  }
  // Blank lines and blanks at its ends are nobody's words.
  const std::size_t first = comment.find_first_not_of("\n");
  const std::size_t last = comment.find_last_not_of("\n");
  comment = first == std::string::npos ? std::string() : comment.substr(first, last - first + 1);
  fields.text[kComment] = CutToBytes(comment, kCommentBytes);
  return fields;
}
