#include "results/entries/signature_block.h"

namespace {

// What rules are drawn with, one character each.
constexpr std::string_view kRuleCharacters[] = {"-",  "=",  "_", "*", "~",  "#",  "+",  "━",
                                                "─",  "═",  "―", "‐", "－", "＝", "＿", "＊",
                                                "・", "～", "…", "■", "□",  "◆",  "◇"};
constexpr std::size_t kMinRuleCharacters = 4;

// A few short lines: a signature, not a paragraph.
constexpr std::size_t kMaxSignatureLines = 6;
constexpr std::size_t kMaxSignatureColumns = 72;

// A phone number's digits, with the area code (+81 and a 10-digit number at most).
constexpr int kMinPhoneDigits = 10;
constexpr int kMaxPhoneDigits = 13;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsAsciiAlnum(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Bytes of the UTF-8 character text starts with (1 for a stray byte).
std::size_t CharacterLength(std::string_view text) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return length <= text.size() ? length : text.size();
}

// Columns as a fixed-pitch font draws the line: Japanese characters are two wide.
std::size_t Columns(std::string_view text) {
  std::size_t columns = 0;
  while (!text.empty()) {
    const std::size_t length = CharacterLength(text);
    columns += length == 1 ? 1 : 2;
    text.remove_prefix(length);
  }
  return columns;
}

bool IsRuleLine(std::string_view line) {
  std::size_t count = 0;
  while (!line.empty()) {
    const std::string_view character = line.substr(0, CharacterLength(line));
    bool drawn = false;
    for (std::string_view rule : kRuleCharacters) drawn = drawn || character == rule;
    if (!drawn) return false;
    line.remove_prefix(character.size());
    ++count;
  }
  return count >= kMinRuleCharacters;
}

// name@host.domain
bool HasMailAddress(std::string_view line) {
  for (std::size_t at = line.find('@'); at != std::string_view::npos; at = line.find('@', at + 1)) {
    if (at == 0 || !IsAsciiAlnum(line[at - 1])) continue;
    const std::string_view host = line.substr(at + 1);
    const std::size_t dot = host.find('.');
    if (dot != std::string_view::npos && dot > 0 && dot + 1 < host.size() &&
        IsAsciiAlnum(host[0]) && IsAsciiAlnum(host[dot + 1])) {
      return true;
    }
  }
  return false;
}

bool HasWebAddress(std::string_view line) {
  return line.find("http://") != std::string_view::npos ||
         line.find("https://") != std::string_view::npos ||
         line.find("www.") != std::string_view::npos;
}

// Digits grouped as phone numbers are written: "03-1234-5678", "(03) 1234 5678",
// "+81 90 1234 5678". An ungrouped run of digits is not taken for one.
bool HasPhoneNumber(std::string_view line) {
  int digits = 0;
  bool grouped = false;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    const char c = i < line.size() ? line[i] : '\0';
    if (IsDigit(c)) {
      ++digits;
    } else if (c == '-' || c == '(' || c == ')' || c == '+' || c == ' ') {
      grouped = grouped || digits > 0 || c == '+' || c == '(';
    } else {
      if (grouped && digits >= kMinPhoneDigits && digits <= kMaxPhoneDigits) return true;
      digits = 0;
      grouped = false;
    }
  }
  return false;
}

bool HasContact(std::string_view line) {
  return HasMailAddress(line) || HasWebAddress(line) || HasPhoneNumber(line);
}

}  // namespace

std::size_t SignatureBlockStart(const std::vector<std::string_view>& lines) {
  // From the end up, once: a rule's block is every line below it, so the first
  // paragraph-like line met rules out every rule above it too.
  std::size_t start = lines.size();
  std::size_t written = 0;
  bool contact = false;
  for (std::size_t i = lines.size(); i-- > 0;) {
    const std::string_view line = lines[i];
    if (line.empty()) continue;
    if (IsRuleLine(line)) {
      if (contact) start = i;
      continue;
    }
    if (++written > kMaxSignatureLines || Columns(line) > kMaxSignatureColumns) break;
    contact = contact || HasContact(line);
  }
  return start;
}
