#include "results/entry_checks.h"

#include <utility>

#include "results/text_decoding.h"

namespace {

constexpr int kMaxWholeDigits = 12;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

Figure ReadFigure(std::string_view text) {
  Figure figure;
  const std::size_t point = text.find('.');
  if (point == 0 || point == std::string_view::npos || point > kMaxWholeDigits ||
      text.size() != point + 4) {
    return figure;
  }
  std::uint64_t thousandths = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == point) continue;
    if (!IsDigit(text[i])) return figure;
    thousandths = thousandths * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  figure.thousandths = thousandths;
  figure.state = thousandths == 0 ? FigureState::kNotMeasured : FigureState::kMeasured;
  return figure;
}

CheckedEntry CheckEntry(EntryFields fields, std::string_view entryText, unsigned flags) {
  CheckedEntry entry;
  entry.flags = flags;
  entry.figures[0] = ReadFigure(fields.text[kTime10000]);
  entry.figures[1] = ReadFigure(fields.text[kTime100000]);
  entry.fields = std::move(fields);
  const Figure& small = entry.figures[0];
  const Figure& large = entry.figures[1];
  if (small.state == FigureState::kUnreadable || large.state == FigureState::kUnreadable) {
    entry.flags |= kFigureUnreadable;
  }
  // At most 10^15 thousandths each, so 20 times one cannot overflow.
  if (small.state == FigureState::kMeasured && large.state == FigureState::kMeasured &&
      large.thousandths < 20 * small.thousandths) {
    entry.flags |= kImplausible;
  }
  if (entryText.find(kReplacementUtf8) != std::string_view::npos) entry.flags |= kInvalidBytes;
  entry.status = StatusText(entry);
  return entry;
}

std::string StatusText(const CheckedEntry& entry) {
  static const char* const kLimitNames[2] = {"10,000", "100,000"};
  std::string status;
  const auto add = [&status](const std::string& part) {
    if (!status.empty()) status += "、";
    status += part;
  };
  for (int limit = 0; limit < 2; ++limit) {
    const FigureState state = entry.figures[limit].state;
    if (state == FigureState::kUnreadable)
      add(std::string(kLimitNames[limit]) + " の数値が読めない");
    if (state == FigureState::kNotMeasured) add(std::string(kLimitNames[limit]) + " は未測定");
  }
  if (entry.flags & kImplausible) add("不自然（100,000 が 10,000 の 20 倍未満）");
  if (entry.flags & kInvalidBytes) add("読めないバイト列あり（\xEF\xBF\xBD）");
  if (entry.flags & kDamagedMail) add("壊れたメールから読んだ");
  return status.empty() ? "OK" : status;
}
